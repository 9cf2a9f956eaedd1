#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

#include <dorvane/wdxwidgets_export.h>

class QSvgRenderer;

// A placeholder for an empty area: a picture (an SVG or a pixmap) above a line of grey text that is
// sized to fit the width.
class WDXWIDGETS_EXPORT WdxBlankWidget : public QWidget
{
    Q_OBJECT

public:
    explicit WdxBlankWidget(QWidget *parent = nullptr);
    ~WdxBlankWidget() override;

    void setPixmap(const QPixmap &pixmap);
    QPixmap pixmap() const { return m_pixmap; }
    // A valid SVG takes precedence over the pixmap. Returns whether the file was a valid SVG.
    bool setSvg(const QString &fileName);
    bool hasValidSvg() const;
    void setText(const QString &text);
    QString text() const { return m_text; }
    // Nothing is painted while this is off.
    void setDrawBackground(bool on);
    bool drawBackground() const { return m_drawBackground; }

    // The text's pixel size fitted to the width, 0 without text.
    int fontPixelSize() const { return m_fontPixelSize; }
    // The square holding the picture; null without a picture.
    QRect pictureRect() const { return m_pictureRect; }
    QRect textRect() const;
    QFont textFont() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateLayout();
    bool hasPicture() const;

    QPixmap m_pixmap;
    QPixmap m_scaledPixmap;
    QRect m_pictureRect;
    QSvgRenderer *m_svg = nullptr;
    QString m_text;
    int m_fontPixelSize = 20;
    bool m_drawBackground = true;
};
