#pragma once

class QUrl;

namespace brixel {

// Shows the guide at url (its topic as the fragment) in a window of the program's own: for
// machines where no browser is there to open it. One window, raised again for later topics.
void ShowHelpWindow(const QUrl& url);

// Whether the desktop has a program for web pages that would open the guide.
bool DesktopHasBrowser();

}  // namespace brixel
