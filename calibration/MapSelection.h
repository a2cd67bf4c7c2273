#pragma once

// `MapSelection`: the area of the correction map marked with the mouse, as
// two positions on the unzoomed 652-pixel scale (`SelFrom`, `SelTo`); 0 means
// not set. The first press sets the start; while no end is set a press
// right of the start sets the end; once both are set a press left of the end
// moves the start and one at or right of it moves the end. A press left of
// pixel 26 never moves a bound that is set.
class MapSelection
{
public:
    enum class Press {
        Cleared,    // the right button alone: no area
        StartMoved, // SelFrom took the position
        EndMoved,   // SelTo took the position
        Ignored
    };

    // `c` is the press on the unzoomed scale (MapPixels::markPosition).
    Press press(double c, bool rightButtonAlone);
    void clear();

    double selFrom() const { return m_from; }
    double selTo() const { return m_to; }

    // An end is set, so the area is complete and is drawn and edited.
    bool hasArea() const { return m_to != 0; }
    // The panel beside the chart turns yellow for a complete area.
    bool highlighted() const { return m_to != 0 && m_from > 0; }
    // The arrows work on the whole map (no bound) or on a complete area;
    // with only the start set they wait for the end.
    bool arrowsEnabled() const { return (m_from == 0) == (m_to == 0); }

    // First and last map point of the area (valid when hasArea()).
    int firstPoint() const;
    int lastPoint() const;

private:
    double m_from = 0;
    double m_to = 0;
};
