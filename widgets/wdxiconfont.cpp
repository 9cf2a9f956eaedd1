#include <dorvane/wdxiconfont.h>

#include <QAction>
#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStringList>
#include <QToolButton>

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
    if (!action)
        return;
    action->setFont(sized(size));
    action->setText(glyphText(glyph));
}

void WdxIconFont::setIcon(QLabel *label, uint glyph, int size) const
{
    if (!label)
        return;
    label->setFont(sized(size));
    label->setText(glyphText(glyph));
}

void WdxIconFont::setIcon(QPushButton *button, uint glyph, int size) const
{
    if (!button)
        return;
    button->setFont(sized(size));
    button->setText(glyphText(glyph));
}

void WdxIconFont::setIcon(QToolButton *button, uint glyph, int size) const
{
    if (!button)
        return;
    button->setFont(sized(size));
    button->setText(glyphText(glyph));
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
