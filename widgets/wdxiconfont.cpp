#include <dorvane/wdxiconfont.h>

#include <QAction>
#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStringList>
#include <QToolButton>

namespace {

// Actions, labels and buttons share the same two setters but no base class that has them.
template<typename Target>
void showGlyph(Target *target, const QFont &font, const QString &text)
{
    if (!target)
        return;
    target->setFont(font);
    target->setText(text);
}

} // namespace

WdxIconFont::WdxIconFont() = default;

WdxIconFont::WdxIconFont(const QString &path)
{
    load(path);
}

WdxIconFont::~WdxIconFont()
{
    unload();
}

bool WdxIconFont::load(const QString &path)
{
    unload();
    const int id = QFontDatabase::addApplicationFont(path);
    if (id == -1)
        return false;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        QFontDatabase::removeApplicationFont(id);
        return false;
    }
    m_fontId = id;
    setFamily(families.first());
    return true;
}

void WdxIconFont::unload()
{
    if (m_fontId == -1)
        return;
    QFontDatabase::removeApplicationFont(m_fontId);
    m_fontId = -1;
}

QString WdxIconFont::glyphText(uint glyph)
{
    const char32_t code = glyph;
    return QString::fromUcs4(&code, 1);
}

QFont WdxIconFont::sized(int size) const
{
    QFont font(*this);
    if (size > 0)
        font.setPointSize(size);
    return font;
}

void WdxIconFont::setIcon(QAction *action, uint glyph, int size) const
{
    showGlyph(action, sized(size), glyphText(glyph));
}

void WdxIconFont::setIcon(QLabel *label, uint glyph, int size) const
{
    showGlyph(label, sized(size), glyphText(glyph));
}

void WdxIconFont::setIcon(QPushButton *button, uint glyph, int size) const
{
    showGlyph(button, sized(size), glyphText(glyph));
}

void WdxIconFont::setIcon(QToolButton *button, uint glyph, int size) const
{
    showGlyph(button, sized(size), glyphText(glyph));
}

void WdxIconFont::drawIcon(QPainter *painter, const QRect &rect, int flags, uint glyph, int size) const
{
    if (!painter)
        return;
    painter->save();
    painter->setFont(sized(size));
    painter->drawText(rect, flags, glyphText(glyph));
    painter->restore();
}
