#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

#include <dorvane/wdxwidgets_export.h>

// A horizontal line with an optional title at its left.
class WDXWIDGETS_EXPORT WdxSeparator : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(QColor textColor READ textColor WRITE setTextColor)
    Q_PROPERTY(QColor textBackgroundColor READ textBackgroundColor WRITE setTextBackgroundColor)
    Q_PROPERTY(QColor lineColor READ lineColor WRITE setLineColor)

public:
    explicit WdxSeparator(QWidget *parent = nullptr);
    explicit WdxSeparator(const QString &title, QWidget *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    QFont titleFont() const { return m_font; }
    void setTitleFont(const QFont &font);
    // An invalid colour leaves the title unpainted or its box unfilled.
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &c);
    QColor textBackgroundColor() const { return m_textBackgroundColor; }
    void setTextBackgroundColor(const QColor &c);
    QColor lineColor() const { return m_lineColor; }
    void setLineColor(const QColor &c);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_title;
    QFont m_font;
    QColor m_textColor{Qt::black};
    QColor m_textBackgroundColor{Qt::transparent};
    QColor m_lineColor{Qt::lightGray};
};
