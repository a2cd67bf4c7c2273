#pragma once

class QScrollArea;
class QWidget;

// Lets a tab page scroll when the window is smaller than the page needs
// (a laptop screen, a large scaling factor) while the page stays the tab's
// own widget under its name: the page's layout and controls move into a
// frameless scroll area that fills the page. At the page's full size and
// above nothing scrolls and the page looks as it did.
namespace ScrollingPage {

// Returns the scroll area now holding the page's controls.
QScrollArea *wrapContents(QWidget *page);

} // namespace ScrollingPage
