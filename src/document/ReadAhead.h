#pragma once

#include <memory>
#include <string>

namespace brixel {

class cIco;

// An icon or cursor file read on a thread of its own while the program makes its windows, for
// OpenDocument to take when it opens the same file. The read's reports and questions stay on
// its thread: when it had anything to tell, when the file has changed since, or when the alpha
// option is not what it was, OpenDocument reads the file again itself and tells what there is
// to tell as usual. Files that do not open as icon documents are not read ahead.
void StartReadAhead(const std::string& path);

// The document read ahead for path, once its read has ended; nothing when there is none to
// take. A read ahead that is not taken by the first call is dropped.
std::unique_ptr<cIco> TakeReadAhead(const std::string& path);

// Whether TakeReadAhead(path) would give a document now, once the read has ended: opening path
// then says and asks nothing. The document stays for TakeReadAhead.
bool ReadAheadHolds(const std::string& path);

}  // namespace brixel
