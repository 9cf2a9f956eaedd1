#pragma once

#include <QDialog>

#include <dorvane/app_export.h>

class Context;

// Offers one button per registered data type; a click picks the type and
// closes the dialog.
class DORVANE_APP_EXPORT DataTypeSelectDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DataTypeSelectDialog(const Context *context, QWidget *parent = nullptr);

    // The picked type id; 3 ("int") until a button is clicked.
    int typeId() const { return m_typeId; }

private:
    int m_typeId = 3;
};
