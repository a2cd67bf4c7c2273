#pragma once

#include <QString>

#include <optional>

// `RadioButtonxClick`: the label of `Skala_PB_time` after the user chooses a
// cylinder. The fixed text "CYL n" names the cylinder only when its gas
// injector LED is lit; otherwise the bar keeps its label while it already
// shows the newly chosen cylinder from the next frame on.
class PetrolBarLabel
{
public:
    static constexpr int Cylinders = 8;

    // Empty: keep the label. `cylinder` is 0..7 (`Cyl_0_show`..`Cyl_7_show`).
    static std::optional<QString> afterChoice(int cylinder, bool injectorLedLit)
    {
        if (!injectorLedLit || cylinder < 0 || cylinder >= Cylinders)
            return std::nullopt;
        return QStringLiteral("CYL %1").arg(cylinder + 1);
    }
};
