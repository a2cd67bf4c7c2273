#include "live/ScopeViews.h"

namespace {

ScopeViews::Channel rpm()
{
    return {QStringLiteral("RPM [x 1000]"), QStringLiteral("  "), 8.0f, QStringLiteral("RPM_zegar")};
}

} // namespace

ScopeViews::Settings ScopeViews::settings(ScopeView view, float lambda1End, float lambda2End)
{
    switch (view) {
    case ScopeView::PetrolLpg:
        return {{QStringLiteral("Petrol"), QStringLiteral("[ms] "), 40.0f, QStringLiteral("Skala_PB_time")},
                {QStringLiteral("Gaz"), QStringLiteral(" [ms]"), 40.0f, QStringLiteral("Skala_LPG_time")}};
    case ScopeView::MapP1:
        return {{QStringLiteral("MAP"), QStringLiteral("[kPa] "), 250.0f, QStringLiteral("Slala_P_MAP")},
                {QStringLiteral("P1"), QStringLiteral(" [bar]"), 4.0f, QStringLiteral("Skala_P1_MAP")}};
    case ScopeView::TempLpgRed:
        return {{QStringLiteral("Gaz"), QStringLiteral("[°C] "), 120.0f, QStringLiteral("TempGaz")},
                {QStringLiteral("Red"), QStringLiteral(" [°C]"), 120.0f, QStringLiteral("TempWoda")}};
    case ScopeView::RpmLambda1:
        return {rpm(), {QStringLiteral("LAMBDA1"), QStringLiteral(" [V]"), lambda1End, QStringLiteral("lambda_1")}};
    case ScopeView::RpmLambda2:
        return {rpm(), {QStringLiteral("LAMBDA2"), QStringLiteral(" [V]"), lambda2End, QStringLiteral("lambda_2")}};
    }
    return {};
}
