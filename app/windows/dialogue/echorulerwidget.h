#pragma once

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <dorvane/app_export.h>

class EchoTextEdit;

// A byte ruler laid over the echo view: numbered cells one hex byte wide,
// an origin that can be dragged, and markers ("nonius") that the user
// creates by double-click, drags and removes by right-click. The view
// draws a line under every marker.
class DORVANE_APP_EXPORT EchoRulerWidget : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor fillColor READ fillColor WRITE setFillColor)
    Q_PROPERTY(QColor tickColor READ tickColor WRITE setTickColor)
    Q_PROPERTY(QColor noniusColor READ noniusColor WRITE setNoniusColor)

public:
    struct Nonius
    {
        QRect rect;
        QString text;
    };

    explicit EchoRulerWidget(EchoTextEdit *edit, QWidget *parent = nullptr);

    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor &color);
    QColor tickColor() const { return m_tickColor; }
    void setTickColor(const QColor &color);
    QColor noniusColor() const { return m_noniusColor; }
    void setNoniusColor(const QColor &color);
    int tickStyle() const { return m_tickStyle; }
    void setTickStyle(int style);

    int originOffset() const { return m_originOffset; }
    int scrollOffset() const { return m_scrollOffset; }
    int rulerWidth() const { return m_rulerWidth; }
    QList<Nonius> noniuses() const { return m_noniuses; }
    // The width of one cell: one hex byte and its space in the view's font.
    int cellWidth() const;
    // Removes every marker (the view's lines go with them through the
    // deletion signals).
    void clearNoniuses();

    QSize sizeHint() const override;

signals:
    void noniusCreated(QRect rect);
    void noniusDeleted(int index);
    void noniusMoved(int index, QRect rect);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int contentX(const QPoint &pos) const { return pos.x() + m_scrollOffset; }
    int noniusAt(const QPoint &pos) const;
    void updateRulerWidth();
    void drawNonius(class QPainter &painter, const Nonius &nonius) const;

    EchoTextEdit *m_edit;
    int m_tickStyle = 1;
    QColor m_fillColor{Qt::white};
    QColor m_tickColor{Qt::black};
    QColor m_noniusColor{34, 177, 76, 128};
    QPoint m_lastPos;
    int m_originOffset = 0;
    bool m_originGrabbed = false;
    int m_scrollOffset = 0;
    int m_rulerWidth = 0;
    int m_draggedNonius = -1;
    QList<Nonius> m_noniuses;
};
