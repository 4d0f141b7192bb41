#pragma once
// Saving the page a preview shows as a metafile, as the report and the
// profile pages both do: the name asked in an input box, taken literally,
// the replace question, the page on the clipboard, the file written whole,
// and the size said in kilobytes; any failure said in one message.
#include <QString>
#include <cstdint>
#include <functional>

namespace tellumo {

class PageDocument;

// Saves the page shown of `preview` under a name the user types, starting
// from the name `proposal` gives (a run-time error there is said as any
// other). A relative name lies in CurrentFolder; "*" or "?" in it is error
// 52; a cancelled or empty box writes nothing.
void SavePageMetafile(PageDocument& preview, const std::function<QString()>& proposal);

// Kilobytes of a file of `length` bytes as the size message says them: the
// nearest whole number, a half to the even neighbour (2,500 gives 2).
double MetafileKb(int64_t length);

}  // namespace tellumo
