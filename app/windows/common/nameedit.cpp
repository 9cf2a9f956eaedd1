#include "windows/common/nameedit.h"

#include <QKeyEvent>

NameEdit::NameEdit(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, [this] { m_edited = true; });
}

void NameEdit::focusInEvent(QFocusEvent *event)
{
    m_textAtFocusIn = text().trimmed();
    m_edited = false;
    QLineEdit::focusInEvent(event);
}

void NameEdit::focusOutEvent(QFocusEvent *event)
{
    finishEditing();
    QLineEdit::focusOutEvent(event);
}

void NameEdit::keyPressEvent(QKeyEvent *event)
{
    QLineEdit::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        finishEditing();
}

void NameEdit::finishEditing()
{
    if (!m_edited)
        return;
    m_edited = false;
    const QString name = text().trimmed();
    if (name == m_textAtFocusIn)
        return;
    m_textAtFocusIn = name;
    emit nameChanged(name);
}
