#include "windows/protocoleditor/txvalueedit.h"

#include <QAction>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>

TxValueEdit::TxValueEdit(TxValueColumn *column, QWidget *parent)
    : QLineEdit(parent)
    , m_column(column)
{
    setReadOnly(true);
    // A value stays readable; a narrow dock scrolls instead.
    setMinimumWidth(110);
    setContextMenuPolicy(Qt::NoContextMenu);
    setPlaceholderText(tr("inhiert from parent"));
    m_editAction = addAction(QIcon(QStringLiteral(":/Resources/editor/function.png")), TrailingPosition);
    m_editAction->setObjectName(QStringLiteral("editValueAction"));
    m_editAction->setToolTip(tr("Edit Value"));
    m_editAction->setVisible(false);
    m_revertAction = addAction(QIcon(QStringLiteral(":/Resources/editor/undo.png")), TrailingPosition);
    m_revertAction->setObjectName(QStringLiteral("revertValueAction"));
    m_revertAction->setToolTip(tr("Inherit From First Value Set"));
    m_revertAction->setVisible(false);
    connect(m_editAction, &QAction::triggered, this, &TxValueEdit::editRequested);
    connect(m_revertAction, &QAction::triggered, this, &TxValueEdit::revertRequested);
}

void TxValueEdit::setInheriting(bool inheriting)
{
    m_inheriting = inheriting;
    setText(showsOwnValue() ? m_shownText : QString());
}

void TxValueEdit::setOverridden(bool overridden)
{
    m_overridden = overridden;
    setText(showsOwnValue() ? m_shownText : QString());
    updateActions(underMouse());
}

void TxValueEdit::showValue(const QString &generator, const QString &params)
{
    m_shownText = QStringLiteral("%1: %2").arg(generator, params);
    setText(showsOwnValue() ? m_shownText : QString());
    setCursorPosition(0);
    setToolTip(m_shownText);
}

void TxValueEdit::updateActions(bool hovered)
{
    m_editAction->setVisible(hovered);
    m_revertAction->setVisible(hovered && m_inheriting && m_overridden);
}

void TxValueEdit::enterEvent(QEvent *event)
{
    QLineEdit::enterEvent(event);
    updateActions(true);
}

void TxValueEdit::leaveEvent(QEvent *event)
{
    QLineEdit::leaveEvent(event);
    updateActions(false);
}

void TxValueEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        emit editRequested();
        return;
    }
    QLineEdit::mouseDoubleClickEvent(event);
}

void TxValueEdit::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        emit editRequested();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}
