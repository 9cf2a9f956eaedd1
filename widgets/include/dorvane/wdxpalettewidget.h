#pragma once

#include <QColor>
#include <QList>
#include <QMargins>
#include <QWidget>

#include <dorvane/wdxwidgets_export.h>

// A grid of colour blocks to pick one colour from. The pointer highlights a block; releasing the mouse
// over another block makes it current.
class WDXWIDGETS_EXPORT WdxPaletteWidget : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor currentColor READ currentColor WRITE setCurrentColor NOTIFY currentColorChanged)
    Q_PROPERTY(bool scaledContents READ hasScaledContents WRITE setScaledContents)

public:
    explicit WdxPaletteWidget(QWidget *parent = nullptr);

    // Twelve plain colours in 3 rows of 4.
    void setStandardPalette();
    // The ten colours of a paint program's first row, in 2 rows of 5.
    void setMsPaintPalette();

    using QWidget::setPalette;
    // Replaces the colours (row by row); the first becomes current.
    void setPalette(const QList<QColor> &colors);
    QList<QColor> colors() const { return m_colors; }
    // Ignored when either count is negative.
    void setPaletteSize(int rows, int columns);
    int rows() const { return m_rows; }
    int columns() const { return m_columns; }

    void setBlockSize(const QSize &size);
    QSize blockSize() const { return m_blockSize; }
    void setMargins(const QMargins &margins);
    QMargins margins() const { return m_margins; }
    void setSpacing(int spacing);
    int spacing() const { return m_spacing; }
    // With scaled contents every block has the block size and the widget's maximum size fits the grid;
    // without, the blocks share the widget's room.
    void setScaledContents(bool scaled);
    bool hasScaledContents() const { return m_scaledContents; }

    QColor currentColor() const;
    // The first block of colour c becomes current, or none; emits nothing.
    void setCurrentColor(const QColor &c);
    bool hasColor(const QColor &c) const;
    int currentIndex() const { return m_currentIndex; }
    int hoverIndex() const { return m_hoverIndex; }

    int blockCount() const;
    // The rectangle of block index in widget coordinates; null for an index outside the grid.
    QRect blockRect(int index) const;
    // The first block containing pos, or -1.
    int blockAt(const QPoint &pos) const;

    QSize sizeHint() const override;

signals:
    void currentColorChanged(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QSize currentBlockSize() const;
    QColor colorAt(int index) const;
    void autoAdjustSize();

    int m_rows = 4;
    int m_columns = 4;
    QSize m_blockSize{40, 40};
    QMargins m_margins{5, 5, 5, 5};
    int m_spacing = 3;
    bool m_scaledContents = true;
    int m_currentIndex = -1;
    int m_hoverIndex = -1;
    QList<QColor> m_colors;
};
