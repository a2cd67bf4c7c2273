#pragma once

class QMainWindow;
class QMenu;

// The menu bar as the window starts: "Plik", "Porty" with all 30 port items,
// "Język". Items carry their component names; the window connects them.
struct MainMenu
{
    QMenu *file = nullptr;     // Pliki1
    QMenu *ports = nullptr;    // PortCOM
    QMenu *language = nullptr; // Jazyk

    static MainMenu build(QMainWindow *window);
};
