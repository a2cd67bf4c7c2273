#pragma once

#include <QString>

// Where the chart's pane choice is kept between runs: the value "Panes" of
// "Software\ZENU\Chart" in the program's settings store, next to the port
// settings and the language. A store that cannot be read or written only
// loses the choice; the chart works on with the defaults.
namespace ChartLayoutStore {

QString load();
void save(const QString &layoutText);

} // namespace ChartLayoutStore
