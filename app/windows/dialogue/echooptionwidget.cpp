#include "windows/dialogue/echooptionwidget.h"

#include "windows/dialogue/echotextedit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

EchoOptionWidget::EchoOptionWidget(EchoTextEdit *edit, QWidget *parent)
    : QWidget(parent)
{
    auto *group = new QGroupBox(tr("Echo Options"), this);
    auto *boxes = new QVBoxLayout(group);

    auto addBox = [group, boxes](const char *name, const QString &text, bool checked) {
        auto *box = new QCheckBox(text, group);
        box->setObjectName(QLatin1String(name));
        box->setChecked(checked);
        boxes->addWidget(box);
        return box;
    };
    QCheckBox *newLine
        = addBox("cbxDisplayDataInNewLine", tr("Always show the data on a new line"), edit->dataInNewLine());
    // The tool bar's own action serves for this one.
    newLine->hide();
    QCheckBox *date = addBox("cbxDisplayDate", tr("Displays the date in the label"), edit->displayDate());
    QCheckBox *details
        = addBox("cbxReportDetails", tr("Report the details in the label"), edit->reportDetails());
    QCheckBox *micros
        = addBox("cbxDisplayMicroseconds", tr("Show microseconds in the label"), edit->displayMicroseconds());
    QCheckBox *delta
        = addBox("cbxDisplayDelta", tr("Show the time since the previous chunk"), edit->displayDelta());
    connect(micros, &QCheckBox::toggled, edit, &EchoTextEdit::setDisplayMicroseconds);
    connect(delta, &QCheckBox::toggled, edit, &EchoTextEdit::setDisplayDelta);
    connect(newLine, &QCheckBox::toggled, edit, &EchoTextEdit::setDataInNewLine);
    connect(date, &QCheckBox::toggled, edit, &EchoTextEdit::setDisplayDate);
    connect(details, &QCheckBox::toggled, edit, &EchoTextEdit::setReportDetails);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(group);
}
