#pragma once
// Every owner's shared state back to start-up, in one place: tests, fuzz
// targets and batches call this rather than keeping lists of their own that
// fall behind when an owner is added.
namespace tellumo {

// Returns the sounding, the engine, the stores, the options, the settings,
// the data tab and every other module's plain state to what start-up finds.
// The installed services (message boxes, dialogs, shell) are left alone:
// their owner installs and removes them.
void ResetAllState();

}  // namespace tellumo
