#include "windows/common/grouplabel.h"

GroupLabel::GroupLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
}
