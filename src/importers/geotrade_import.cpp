// Filled in by the importers' work.
namespace tellumo {}
