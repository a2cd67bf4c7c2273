#pragma once

#include "calibration/CorrectionMap.h"
#include "calibration/MapFit.h"

#include <optional>

// What "Fit to curves" does between the fitter's clicks, without a window:
// a proposal computed from the learned tables waits to be written or
// discarded; writing it remembers the map it replaces, so that one undo can
// write that map back. Nothing is computed or sent while no controller is
// connected or while a calibration runs; the refusal says why.
class MapFitFlow
{
public:
    enum class Refusal {
        None,
        Offline,         // no controller connected
        Calibrating,     // a calibration run owns the map
        Busy,            // the controller has not yet taken the previous command
        TooFewPositions, // fewer than MapFit::MinPositions usable positions
        TooNarrow,       // the usable positions cover less than MapFit::MinSpanMs
        NothingToDo,     // no proposal to write, or nothing to undo
    };

    // The state of the link when the fitter clicks.
    struct Link
    {
        bool connected = false;
        bool calibrating = false;
        bool commandPending = false;
    };

    // Computes a proposal for `current` (replacing one still shown).
    Refusal fit(const MapFit::Table &petrol, const MapFit::Table &gas, const CorrectionMap &current, const Link &link);
    bool hasProposal() const { return m_proposal.has_value(); }
    // The last computation, refused or not (usable positions, covered range).
    const MapFit::Result &lastResult() const { return m_last; }

    // The map to write now (the proposal), or nothing with the reason. The
    // map it replaces (`current`) is kept for undo; the proposal is gone.
    std::optional<CorrectionMap> accept(const CorrectionMap &current, const Link &link, Refusal *why = nullptr);
    // The proposal is dropped; nothing else changes.
    void reject() { m_proposal.reset(); }

    bool canUndo() const { return m_beforeAccepted.has_value(); }
    // The map as it was before the last accepted proposal, to write back; one
    // level only, so undo is then gone until the next accepted proposal.
    std::optional<CorrectionMap> undo(const Link &link, Refusal *why = nullptr);

private:
    static Refusal linkRefusal(const Link &link);

    MapFit::Result m_last;
    std::optional<MapFit::Result> m_proposal;
    std::optional<CorrectionMap> m_beforeAccepted;
};
