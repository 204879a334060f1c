#pragma once
// The window's text label: sized to its text, transparent or opaque; the clock's hundredths keep a
// picture of each of their texts.

#include <QColor>
#include <QHash>
#include <QImage>
#include <QWidget>

// A text label. Auto-sized labels take their text's width and the font's height at once and
// keep the edge of their alignment; transparent ones show what lies below.
class TLabel : public QWidget
{
public:
    TLabel(QWidget* parent, const QString& text, const QFont& font, const QColor& colour);

    QString text() const { return m_text; }
    void setText(const QString& text);
    void setRightAligned(bool right) { m_right = right; }
    // An opaque label fills its rectangle with this colour first.
    void setBackground(const QColor& colour);
    void fitToText();
    // An opaque label that keeps the picture of each text it shows, at whole-pixel device ratios
    // 1 and 2: a text is drawn once and copied from then on, so a label whose text changes many
    // times a second (the clock's) does no text layout while it runs. Such a label paints a new
    // text of the same width at once.
    void setKeepsTextPictures(bool keep);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Known
    {
        int width = -1;
        QImage picture;
    };
    Known& known(const QString& text);
    void draw(QPainter& painter) const;

    QString m_text;
    QColor m_colour;
    QColor m_background;
    bool m_right = false;
    bool m_keepsPictures = false;
    int m_height = -1; // the font's, once measured
    // What is known of each text shown so far in this font (a few for most labels, a hundred
    // for the clock's hundredths): its width, and with setKeepsTextPictures its picture.
    QHash<QString, Known> m_known;
};
