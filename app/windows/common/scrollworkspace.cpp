#include "windows/common/scrollworkspace.h"

#include <dorvane/wdxblankwidget.h>

#include <QFormLayout>

ScrollWorkspace::ScrollWorkspace(QWidget *parent)
    : QScrollArea(parent)
    , m_content(new WdxBlankWidget)
    , m_rows(new QFormLayout(m_content))
{
    m_content->setObjectName(QStringLiteral("ScrollContent"));
    m_rows->setFormAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_rows->setRowWrapPolicy(QFormLayout::DontWrapRows);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setWidget(m_content);
}

void ScrollWorkspace::setPicture(const QString &svgPath)
{
    m_content->setSvg(svgPath);
}

void ScrollWorkspace::setPictureVisible(bool visible)
{
    m_content->setDrawBackground(visible);
}

bool ScrollWorkspace::isPictureVisible() const
{
    return m_content->drawBackground();
}

void ScrollWorkspace::moveRow(int from, int to)
{
    if (from == to || from < 0 || from >= m_rows->rowCount() || to < 0 || to >= m_rows->rowCount())
        return;
    QFormLayout::TakeRowResult taken = m_rows->takeRow(from);
    QWidget *label = taken.labelItem ? taken.labelItem->widget() : nullptr;
    QWidget *field = taken.fieldItem ? taken.fieldItem->widget() : nullptr;
    // Only the layout items go; the widgets stay with their parent.
    delete taken.labelItem;
    delete taken.fieldItem;
    if (label && field)
        m_rows->insertRow(to, label, field);
    else if (label || field)
        m_rows->insertRow(to, label ? label : field);
}
