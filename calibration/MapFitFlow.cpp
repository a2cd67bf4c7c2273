#include "calibration/MapFitFlow.h"

MapFitFlow::Refusal MapFitFlow::linkRefusal(const Link &link)
{
    if (!link.connected)
        return Refusal::Offline;
    if (link.calibrating)
        return Refusal::Calibrating;
    return Refusal::None;
}

MapFitFlow::Refusal MapFitFlow::fit(const MapFit::Table &petrol, const MapFit::Table &gas,
                                    const CorrectionMap &current, const Link &link)
{
    m_proposal.reset();
    if (const Refusal r = linkRefusal(link); r != Refusal::None)
        return r;
    m_last = MapFit::propose(petrol, gas, current);
    switch (m_last.refusal) {
    case MapFit::Refusal::TooFewPositions:
        return Refusal::TooFewPositions;
    case MapFit::Refusal::TooNarrow:
        return Refusal::TooNarrow;
    case MapFit::Refusal::None:
        break;
    }
    m_proposal = m_last;
    return Refusal::None;
}

std::optional<CorrectionMap> MapFitFlow::accept(const CorrectionMap &current, const Link &link, Refusal *why)
{
    Refusal r = linkRefusal(link);
    if (r == Refusal::None && link.commandPending)
        r = Refusal::Busy;
    if (r == Refusal::None && !m_proposal)
        r = Refusal::NothingToDo;
    if (why)
        *why = r;
    if (r != Refusal::None)
        return std::nullopt;
    CorrectionMap out = m_proposal->proposal;
    m_beforeAccepted = current;
    m_proposal.reset();
    return out;
}

std::optional<CorrectionMap> MapFitFlow::undo(const Link &link, Refusal *why)
{
    Refusal r = linkRefusal(link);
    if (r == Refusal::None && link.commandPending)
        r = Refusal::Busy;
    if (r == Refusal::None && !m_beforeAccepted)
        r = Refusal::NothingToDo;
    if (why)
        *why = r;
    if (r != Refusal::None)
        return std::nullopt;
    CorrectionMap out = *m_beforeAccepted;
    m_beforeAccepted.reset();
    m_proposal.reset();
    return out;
}
