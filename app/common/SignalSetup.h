#pragma once

#include <QString>

#include <optional>

class TSignalSettings;

// The signal an instrument is given by the window: only what is set here
// differs from the widget's own defaults. Ends are applied in an order that
// never lets one end run into the other, since the settings ignore an end
// equal to either current end.
struct SignalSetup
{
    // How an instrument stores a lower end of zero. The settings store a 0
    // handed to them this way too, but ignore it while the end already is 0.
    static constexpr float NearZero = 0.000001f;

    std::optional<float> valueFrom = std::nullopt;
    std::optional<float> valueTo = std::nullopt;
    std::optional<int> digitalFrom = std::nullopt;
    std::optional<int> digitalTo = std::nullopt;
    std::optional<QString> format = std::nullopt;
    std::optional<QString> name1 = std::nullopt;
    std::optional<QString> name2 = std::nullopt;
    std::optional<QString> unit = std::nullopt;

    void applyTo(TSignalSettings &signal) const;
};
