#pragma once

#include <QHash>
#include <QRect>
#include <QWidget>

#include <dorvane/app_export.h>

class QHBoxLayout;
class QLabel;

// The header strip above a window's rows: one vertically centred label per
// section, plus any header widgets a window adds (a value column's header).
// Labels and widgets sit in a box layout until the window places them over
// the controls of its first row; a placed item keeps its place on resize.
class DORVANE_APP_EXPORT EditorHeaderView : public QWidget
{
    Q_OBJECT

public:
    explicit EditorHeaderView(QWidget *parent = nullptr);

    // Adds the label of a section, or relabels it when it exists.
    QLabel *addSection(int section, const QString &text, Qt::Alignment alignment = Qt::AlignLeft);
    QLabel *sectionLabel(int section) const;

    void addHeaderWidget(QWidget *widget);
    // Takes the widget out of the header; the caller deletes it.
    void removeHeaderWidget(QWidget *widget);

    // Places a section's label or a header widget at the horizontal extent
    // of the rectangle (header coordinates); it spans the header's height.
    void placeSection(int section, const QRect &rect);
    void placeWidget(QWidget *widget, const QRect &rect);
    // The same, at the horizontal extent of a control elsewhere in the window.
    void placeSectionOver(int section, const QWidget *control);
    void placeWidgetOver(QWidget *widget, const QWidget *control);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect rectOver(const QWidget *control) const;
    void applyPlace(QWidget *widget, const QRect &rect);

    QHBoxLayout *m_layout;
    QHash<int, QLabel *> m_sections;
    QHash<QWidget *, QRect> m_placed;
};
