#include "TextTarget.h"

#include <array>

namespace {

// Where each control text goes. Row 94 is shared by two labels.
constexpr std::array Targets{
    TextTarget{21, "BATERY_vpp", TextTargetKind::Name1, 0},
    TextTarget{22, "Skala_PB_time", TextTargetKind::Name2, 0},
    TextTarget{23, "Label4", TextTargetKind::Caption, 0},
    TextTarget{24, "aaa", TextTargetKind::Caption, 0},
    TextTarget{25, "GroupBox4", TextTargetKind::Caption, 0},
    TextTarget{26, "Zaplon_panel", TextTargetKind::Caption, 0},
    TextTarget{27, "GroupBox8", TextTargetKind::Caption, 0},
    TextTarget{28, "TempWoda", TextTargetKind::Name1, 0},
    TextTarget{29, "TempGaz", TextTargetKind::Name1, 0},
    TextTarget{30, "GroupBox5", TextTargetKind::Caption, 0},
    TextTarget{31, "Polacz_switch", TextTargetKind::OffText, 0},
    TextTarget{32, "TabSheet1", TextTargetKind::Caption, 0},
    TextTarget{33, "GroupBox25", TextTargetKind::Caption, 0},
    TextTarget{34, "Label35", TextTargetKind::Caption, 0},
    TextTarget{35, "Label36", TextTargetKind::Caption, 0},
    TextTarget{36, "Label37", TextTargetKind::Caption, 0},
    TextTarget{37, "Label38", TextTargetKind::Caption, 0},
    TextTarget{38, "Label39", TextTargetKind::Caption, 0},
    TextTarget{39, "Label40", TextTargetKind::Caption, 0},
    TextTarget{40, "Sel_cyl", TextTargetKind::Item, 0},
    TextTarget{41, "Sel_cyl", TextTargetKind::Item, 1},
    TextTarget{42, "Sel_cyl", TextTargetKind::Item, 2},
    TextTarget{43, "Sel_cyl", TextTargetKind::Item, 3},
    TextTarget{44, "Sel_cyl", TextTargetKind::Item, 4},
    TextTarget{45, "Sel_Typ_wtrysku_Petrol", TextTargetKind::Item, 0},
    TextTarget{46, "Sel_Impuls", TextTargetKind::Item, 0},
    TextTarget{47, "Sel_Impuls", TextTargetKind::Item, 1},
    TextTarget{48, "Sel_Impuls", TextTargetKind::Item, 2},
    TextTarget{49, "Sel_Impuls", TextTargetKind::Item, 3},
    TextTarget{50, "Sel_Impuls", TextTargetKind::Item, 4},
    TextTarget{51, "Sel_Impuls", TextTargetKind::Item, 5},
    TextTarget{52, "Sel_Impuls", TextTargetKind::Item, 6},
    TextTarget{53, "ComboBox17", TextTargetKind::Item, 0},
    TextTarget{54, "ComboBox17", TextTargetKind::Item, 1},
    TextTarget{55, "TabSheet2", TextTargetKind::Caption, 0},
    TextTarget{56, "GroupBox12", TextTargetKind::Caption, 0},
    TextTarget{57, "GroupBox15", TextTargetKind::Caption, 0},
    TextTarget{58, "GroupBox19", TextTargetKind::Caption, 0},
    TextTarget{59, "Label20", TextTargetKind::Caption, 0},
    TextTarget{60, "Label21", TextTargetKind::Caption, 0},
    TextTarget{61, "Label22", TextTargetKind::Caption, 0},
    TextTarget{62, "GroupBox14", TextTargetKind::Caption, 0},
    TextTarget{63, "P_pracy_changer", TextTargetKind::Name1, 0},
    TextTarget{64, "TabSheet3", TextTargetKind::Caption, 0},
    TextTarget{65, "Label28", TextTargetKind::Caption, 0},
    TextTarget{66, "TabSheet4", TextTargetKind::Caption, 0},
    TextTarget{67, "Chart1", TextTargetKind::LeftAxisTitle, 0},
    TextTarget{68, "PaintBox1", TextTargetKind::Hint, 0},
    TextTarget{69, "Series1", TextTargetKind::Caption, 0},
    TextTarget{70, "Series2", TextTargetKind::Caption, 0},
    TextTarget{71, "Series3", TextTargetKind::Caption, 0},
    TextTarget{72, "Series4", TextTargetKind::Caption, 0},
    TextTarget{73, "Series5", TextTargetKind::Caption, 0},
    TextTarget{74, "Series7", TextTargetKind::Caption, 0},
    TextTarget{75, "Series6", TextTargetKind::Caption, 0},
    TextTarget{76, "Series8", TextTargetKind::Caption, 0},
    TextTarget{77, "BitBtn1", TextTargetKind::Caption, 0},
    TextTarget{78, "BitBtn2", TextTargetKind::Caption, 0},
    TextTarget{79, "Label19", TextTargetKind::Caption, 0},
    TextTarget{80, "Label18", TextTargetKind::Caption, 0},
    TextTarget{81, "TabSheet7", TextTargetKind::Caption, 0},
    TextTarget{82, "OSC_PETROL_LPG", TextTargetKind::Caption, 0},
    TextTarget{83, "TEMP_LPG_RED", TextTargetKind::Caption, 0},
    TextTarget{84, "TabSheet8", TextTargetKind::Caption, 0},
    TextTarget{85, "Label5", TextTargetKind::Caption, 0},
    TextTarget{86, "Skala_PB_time1", TextTargetKind::Name2, 0},
    TextTarget{87, "Skala_PB_time2", TextTargetKind::Name2, 0},
    TextTarget{88, "Skala_PB_time3", TextTargetKind::Name2, 0},
    TextTarget{89, "Skala_PB_time4", TextTargetKind::Name2, 0},
    TextTarget{90, "Skala_PB_time5", TextTargetKind::Name2, 0},
    TextTarget{91, "Skala_PB_time6", TextTargetKind::Name2, 0},
    TextTarget{92, "Skala_PB_time7", TextTargetKind::Name2, 0},
    TextTarget{93, "Skala_PB_time8", TextTargetKind::Name2, 0},
    TextTarget{94, "Label6", TextTargetKind::Caption, 0},
    TextTarget{94, "Label3", TextTargetKind::Caption, 0},
    TextTarget{95, "TabSheet9", TextTargetKind::Caption, 0},
    TextTarget{96, "GroupBox17", TextTargetKind::Caption, 0},
    TextTarget{97, "Label24", TextTargetKind::Caption, 0},
    TextTarget{98, "T_zwloki_changer", TextTargetKind::Name2, 0},
    TextTarget{99, "GroupBox13", TextTargetKind::Caption, 0},
    TextTarget{100, "Temp_LPG_changer", TextTargetKind::Name2, 0},
    TextTarget{101, "T_przel_to_LPG", TextTargetKind::Name2, 0},
    TextTarget{102, "T_CYL_seqence", TextTargetKind::Name2, 0},
    TextTarget{103, "GroupBox18", TextTargetKind::Caption, 0},
    TextTarget{104, "Label16", TextTargetKind::Caption, 0},
    TextTarget{105, "Label17", TextTargetKind::Caption, 0},
    TextTarget{106, "ParametryOBD2", TextTargetKind::Caption, 0},
    TextTarget{107, "Label26", TextTargetKind::Caption, 0},
    TextTarget{108, "GroupBox20", TextTargetKind::Caption, 0},
    TextTarget{109, "GroupBox21", TextTargetKind::Caption, 0},
    TextTarget{110, "Label25", TextTargetKind::Caption, 0},
    TextTarget{111, "Pliki1", TextTargetKind::Caption, 0},
    TextTarget{112, "Odczyt1", TextTargetKind::Caption, 0},
    TextTarget{113, "Zapis1", TextTargetKind::Caption, 0},
    TextTarget{114, "PortCOM", TextTargetKind::Caption, 0},
    TextTarget{115, "polacz", TextTargetKind::Caption, 0},
    TextTarget{116, "rozlacz1", TextTargetKind::Caption, 0},
    TextTarget{117, "Jazyk", TextTargetKind::Caption, 0},
    TextTarget{118, "Label34", TextTargetKind::Caption, 0},
    TextTarget{119, "GroupBox6", TextTargetKind::Caption, 0},
};

} // namespace

std::span<const TextTarget> textTargets()
{
    return Targets;
}

std::vector<TextTarget> textTargetsOfRow(int row)
{
    std::vector<TextTarget> found;
    for (const TextTarget &t : Targets) {
        if (t.row == row)
            found.push_back(t);
    }
    return found;
}
