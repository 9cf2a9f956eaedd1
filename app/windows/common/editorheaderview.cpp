#include "windows/common/editorheaderview.h"

#include <QHBoxLayout>
#include <QLabel>

EditorHeaderView::EditorHeaderView(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
{
    m_layout->setContentsMargins(0, 2, 0, 2);
    m_layout->addStretch(1);
}

QLabel *EditorHeaderView::addSection(int section, const QString &text, Qt::Alignment alignment)
{
    QLabel *label = m_sections.value(section);
    if (!label) {
        label = new QLabel(this);
        m_sections.insert(section, label);
        // Sections keep the order they were added in, before the stretch.
        m_layout->insertWidget(m_layout->count() - 1, label);
    }
    label->setText(text);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

QLabel *EditorHeaderView::sectionLabel(int section) const
{
    return m_sections.value(section);
}

void EditorHeaderView::addHeaderWidget(QWidget *widget)
{
    if (!widget)
        return;
    widget->setParent(this);
    m_layout->insertWidget(m_layout->count() - 1, widget);
    widget->show();
}

void EditorHeaderView::removeHeaderWidget(QWidget *widget)
{
    if (!widget)
        return;
    m_layout->removeWidget(widget);
    m_placed.remove(widget);
    widget->setParent(nullptr);
}

void EditorHeaderView::placeSection(int section, const QRect &rect)
{
    if (QLabel *label = m_sections.value(section))
        placeWidget(label, rect);
}

void EditorHeaderView::placeWidget(QWidget *widget, const QRect &rect)
{
    if (!widget || widget->parentWidget() != this)
        return;
    // Once placed, the layout no longer moves it.
    m_layout->removeWidget(widget);
    m_placed.insert(widget, rect);
    applyPlace(widget, rect);
}

void EditorHeaderView::placeSectionOver(int section, const QWidget *control)
{
    if (control)
        placeSection(section, rectOver(control));
}

void EditorHeaderView::placeWidgetOver(QWidget *widget, const QWidget *control)
{
    if (control)
        placeWidget(widget, rectOver(control));
}

QRect EditorHeaderView::rectOver(const QWidget *control) const
{
    const QPoint topLeft = mapFromGlobal(control->mapToGlobal(QPoint(0, 0)));
    return QRect(topLeft.x(), 0, control->width(), height());
}

void EditorHeaderView::applyPlace(QWidget *widget, const QRect &rect)
{
    const QMargins margins = m_layout->contentsMargins();
    widget->setGeometry(rect.x(), margins.top(), rect.width(), height() - margins.top() - margins.bottom());
}

void EditorHeaderView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    for (auto it = m_placed.cbegin(); it != m_placed.cend(); ++it)
        applyPlace(it.key(), it.value());
}
