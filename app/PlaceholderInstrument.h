#pragma once

#include <QFrame>
#include <QSize>
#include <QString>

// Stand-in for an instrument widget (gauge, bar, LED, dial, ...) that is not
// wired into the window yet. It only occupies the instrument's place under
// its component name, shows what it stands for, and reports clicks, so the
// window can be laid out and exercised before the real widgets are swapped
// in through InstrumentFactory.
class PlaceholderInstrument : public QFrame
{
    Q_OBJECT
public:
    PlaceholderInstrument(const QString &kind, const QString &caption, QSize preferredSize,
                          QWidget *parent = nullptr);

    QString kind() const { return m_kind; }
    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    // Look of the round meter (colour-sector inset in pixels, pointer shape).
    int sectorOffset() const { return m_sectorOffset; }
    int pointerShape() const { return m_pointerShape; }
    void setMeterLook(int sectorOffset, int pointerShape);

    QSize sizeHint() const override { return m_preferredSize; }
    QSize minimumSizeHint() const override { return m_preferredSize; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_kind;
    QString m_caption;
    QSize m_preferredSize;
    int m_sectorOffset = 0;
    int m_pointerShape = 0;
};
