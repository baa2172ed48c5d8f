// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColor>
#include <QImage>
#include <QWidget>

class QPainter;

namespace tessaro::qt
{

// What the window shows on an element's widget when the element changes,
// besides visibility and the accessible name, which every widget has. Each
// kind shows the properties it has and ignores the others.
class ElementView
{
public:
    virtual ~ElementView() = default;
    // `condensed`: letters set a little closer, for a caption whose words
    // must end before an element set into it.
    virtual void showCaption(const QString &caption, bool condensed)
    {
        (void)caption;
        (void)condensed;
    }
    virtual void showBackColour(const QColor &colour) { (void)colour; }
    virtual void showBorder(bool border) { (void)border; }
};

// A windowless text element: optional background, optional single border,
// text drawn from the top, wrapped at spaces and clipped at the rectangle.
class LabelWidget final : public QWidget, public ElementView
{
    Q_OBJECT
public:
    LabelWidget(QWidget *parent, Qt::Alignment alignment, bool transparent);

    void showCaption(const QString &caption, bool condensed) override;
    void showBackColour(const QColor &colour) override { setBackColour(colour); }
    void showBorder(bool border) override { setBorder(border); }

    void setCaption(const QString &caption);
    [[nodiscard]] QString caption() const { return m_caption; }
    void setBackColour(const QColor &colour);
    void setForeColour(const QColor &colour);
    void setBorder(bool border);
    [[nodiscard]] bool hasBorder() const { return m_border; }
    [[nodiscard]] bool isTransparent() const { return m_transparent; }
    [[nodiscard]] QColor backColour() const { return m_back; }
    // The rectangle the text is laid out in: inside the border, no padding.
    [[nodiscard]] QRect textRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    int captionHeight(const QRect &text, int flags);
    void drawTightLines(QPainter &painter, const QRect &text);

    QString m_caption;
    QColor m_back;
    QColor m_fore;
    Qt::Alignment m_alignment;
    bool m_transparent;
    bool m_border = false;
    int m_oneLineHeight = -1; // of a one-word caption in the current font
};

// A child window that shows nothing but its background colour.
class CellWidget final : public QWidget, public ElementView
{
    Q_OBJECT
public:
    explicit CellWidget(QWidget *parent);
    void showBackColour(const QColor &colour) override { setBackColour(colour); }
    void setBackColour(const QColor &colour);
    [[nodiscard]] QColor backColour() const { return m_back; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_back;
};

// A straight line between two points of the parent; the widget covers the
// line's bounding box and lets the mouse through.
class LineWidget final : public QWidget
{
    Q_OBJECT
public:
    LineWidget(QWidget *parent, QLine line, LineStyle style);
    [[nodiscard]] LineStyle lineStyle() const { return m_style; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLine m_line; // in parent coordinates
    LineStyle m_style;
};

// A box with a single-line border and its caption set into the top edge.
class WebFrameWidget final : public QWidget, public ElementView
{
    Q_OBJECT
public:
    explicit WebFrameWidget(QWidget *parent);
    void showCaption(const QString &caption, bool) override { setCaption(caption); }
    void setCaption(const QString &caption);
    [[nodiscard]] QString caption() const { return m_caption; }
    void setColours(const QColor &back, const QColor &fore);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    QColor m_back;
    QColor m_fore;
};

// An etched group box without caption.
class GroupFrameWidget final : public QWidget
{
    Q_OBJECT
public:
    explicit GroupFrameWidget(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A push button whose whole face is painted in its own colour, with a
// raised edge, a sunken one while pressed, and a focus rectangle.
class FaceButton final : public QAbstractButton, public ElementView
{
    Q_OBJECT
public:
    explicit FaceButton(QWidget *parent);
    void showCaption(const QString &caption, bool) override { setText(caption); }
    void showBackColour(const QColor &colour) override { setFaceColour(colour); }
    void setFaceColour(const QColor &colour);
    [[nodiscard]] QColor faceColour() const { return m_face; }
    void setTextColour(const QColor &colour);
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_face;
    QColor m_text;
};

// A check box without text, drawn as the classic 13-pixel box on the
// control's own colour, the same in every control and at every scale.
class CheckBoxWidget final : public QCheckBox
{
    Q_OBJECT
public:
    explicit CheckBoxWidget(QWidget *parent);
    void setBackColour(const QColor &colour);
    [[nodiscard]] QColor backColour() const { return m_back; }
    // The box, in the control's coordinates: at the left, centred upright.
    [[nodiscard]] QRect boxRect() const;
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    // The whole control takes the click, not just the box.
    [[nodiscard]] bool hitButton(const QPoint &pos) const override;

private:
    QColor m_back;
};

// A picture inside a sunken border, marked while it has the focus.
class PictureWidget final : public QWidget
{
    Q_OBJECT
public:
    PictureWidget(QWidget *parent, QImage picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};

} // namespace tessaro::qt
