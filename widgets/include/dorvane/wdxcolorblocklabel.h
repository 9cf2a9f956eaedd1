#pragma once

#include <QBrush>
#include <QColor>
#include <QLabel>
#include <QPoint>

#include <dorvane/wdxwidgets_export.h>

// A small block showing a colour, optionally beside its alpha or a comparison colour. It can be
// clicked, and dragged out to drop the colour elsewhere.
class WDXWIDGETS_EXPORT WdxColorBlockLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(QColor comparisonColor READ comparisonColor WRITE setComparisonColor)
    Q_PROPERTY(DisplayMode displayMode READ displayMode WRITE setDisplayMode)
    Q_PROPERTY(QBrush background READ background WRITE setBackground)

public:
    enum DisplayMode {
        NoAlpha = 0,    // both halves the opaque colour
        AllAlpha = 1,   // both halves the colour with its alpha
        SplitAlpha = 2, // left opaque, right with alpha
        SplitColor = 3  // left the comparison colour, right the colour
    };
    Q_ENUM(DisplayMode)

    explicit WdxColorBlockLabel(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    // Stores, repaints and emits colorChanged, also when the colour is the same.
    void setColor(const QColor &c);
    QColor comparisonColor() const { return m_comparisonColor; }
    void setComparisonColor(const QColor &c);
    DisplayMode displayMode() const { return m_displayMode; }
    void setDisplayMode(DisplayMode mode);
    // Shows through colours that are not fully opaque.
    QBrush background() const { return m_background; }
    void setBackground(const QBrush &brush);

    QSize sizeHint() const override;

signals:
    void clicked();
    void colorChanged(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void startDrag();

    QColor m_color{Qt::black};
    QColor m_comparisonColor;
    QBrush m_background{Qt::darkGray, Qt::DiagCrossPattern};
    DisplayMode m_displayMode = NoAlpha;
    bool m_pressed = false;
};
