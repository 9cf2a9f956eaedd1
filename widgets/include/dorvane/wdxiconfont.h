#pragma once

#include <QFont>
#include <QString>

#include <dorvane/wdxwidgets_export.h>

class QAction;
class QLabel;
class QPainter;
class QPushButton;
class QRect;
class QToolButton;

// A font loaded from a file whose glyphs serve as icons. The application font is removed again on
// unload and destruction; copies of the object are plain fonts.
class WDXWIDGETS_EXPORT WdxIconFont : public QFont
{
public:
    WdxIconFont();
    explicit WdxIconFont(const QString &path);
    ~WdxIconFont();
    WdxIconFont(const WdxIconFont &) = delete;
    WdxIconFont &operator=(const WdxIconFont &) = delete;

    // Replaces a previously loaded font; false (id -1) when the file cannot be added.
    bool load(const QString &path);
    void unload();
    int fontId() const { return m_fontId; }
    bool isLoaded() const { return m_fontId != -1; }

    // The text of one glyph, which may lie outside the basic plane.
    static QString glyphText(uint glyph);

    // Sets this font at size points on the target and its text to the glyph.
    void setIcon(QAction *action, uint glyph, int size) const;
    void setIcon(QLabel *label, uint glyph, int size) const;
    void setIcon(QPushButton *button, uint glyph, int size) const;
    void setIcon(QToolButton *button, uint glyph, int size) const;
    void drawIcon(QPainter *painter, const QRect &rect, int flags, uint glyph, int size) const;

private:
    QFont sized(int size) const;

    int m_fontId = -1;
};
