#pragma once

#include <QString>

#include <array>
#include <optional>

// The five signal pairs of the "Oscyloskop" tab, in the order of their radio
// buttons; that order is also the order in which the feed tests them.
enum class ScopeView {
    PetrolLpg,  // `OSC_PETROL_LPG`
    MapP1,      // `OSC_MAP_P1`
    TempLpgRed, // `TEMP_LPG_RED`
    RpmLambda1, // `RPM_LAMBDA1`
    RpmLambda2, // `RPM_LAMBDA2`
};

inline constexpr int ScopeViewCount = 5;

inline constexpr std::array<ScopeView, ScopeViewCount> AllScopeViews = {
    ScopeView::PetrolLpg, ScopeView::MapP1, ScopeView::TempLpgRed,
    ScopeView::RpmLambda1, ScopeView::RpmLambda2};

// objectName of the view's radio button.
inline QString scopeViewButton(ScopeView view)
{
    switch (view) {
    case ScopeView::PetrolLpg: return QStringLiteral("OSC_PETROL_LPG");
    case ScopeView::MapP1: return QStringLiteral("OSC_MAP_P1");
    case ScopeView::TempLpgRed: return QStringLiteral("TEMP_LPG_RED");
    case ScopeView::RpmLambda1: return QStringLiteral("RPM_LAMBDA1");
    case ScopeView::RpmLambda2: return QStringLiteral("RPM_LAMBDA2");
    }
    return {};
}

inline std::optional<ScopeView> scopeViewForButton(const QString &objectName)
{
    for (ScopeView view : AllScopeViews) {
        if (scopeViewButton(view) == objectName)
            return view;
    }
    return std::nullopt;
}
