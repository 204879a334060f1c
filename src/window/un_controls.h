#pragma once

// The window's own control kinds: pictures, the clock panel, the name box and the push buttons
// with a glyph (the text labels: un_label.h). Each draws itself so the pages look the same on
// every platform.

#include <QColor>
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
