#pragma once

// The window's own control kinds: pictures, text labels, the clock panel, the name box and the
// push buttons with a glyph. Each draws itself so the pages look the same on every platform.

#include <QColor>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <functional>

// A picture drawn unscaled from the top-left corner. With a click handler it reacts to clicks
// by the one click rule (base/click_filter.h); without one, clicks go to what lies below.
class TImage : public QWidget
{
public:
    explicit TImage(QWidget* parent);

    const QImage& picture() const { return m_picture; }
    void setPicture(const QImage& picture);
    // Makes the picture a width × height bitmap (in the layout's pixels, `ratio` picture pixels
    // to each): kept where it was, white where it grows.
    void resizePicture(int width, int height, int ratio = 1);
    // Draws `source` at 0, 0 pixel for pixel; pixels set in `mask` (1 = transparent) keep the
    // picture below.
    void drawMasked(const QImage& source, const QImage& mask);

    // Set once.
    void setOnClick(std::function<void()> onClick);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void coverCheck();

    QImage m_picture;
};

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

// A filled panel with a one-pixel raised edge.
class TPanel : public QWidget
{
public:
    TPanel(QWidget* parent, const QColor& fill);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill;
};

// A one-line text box that selects its whole text when it gets the focus other than by a click.
class TEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override;
};

// A push button with a glyph left of its caption, centred together 4 px apart. "&" marks the
// accelerator letter, drawn underlined. The second press of a double-click presses nothing.
class TBitBtn : public QPushButton
{
public:
    TBitBtn(QWidget* parent, const QString& caption, const QFont& font, const QColor& colour);

    // The glyph bitmap holds the normal and the greyed glyph side by side; its bottom-left
    // colour is transparent.
    void setGlyph(const QImage& glyphs);

    // The letter after "&", upper case; a null character when there is none.
    QChar accelerator() const { return m_accelerator; }
    // True when Enter would press this button: drawn with the dark default frame.
    void setEnterTarget(bool on);
    // The button and every container up to the window are visible and enabled.
    bool canTakeFocus() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintFace(QPainter& painter) const;
    void paintCaption(QPainter& painter) const;

    QString m_caption;
    QChar m_accelerator;
    QImage m_glyph;
    QColor m_colour;
    bool m_enterTarget = false;
};
