#pragma once

#include <QDialog>

#include <dorvane/app_export.h>
#include <dorvane/coretypes.h>

class Context;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Edits one value of a field: its generator and parameter text. OK is
// offered only while the parameters parse and their counts suit the
// generator.
class DORVANE_APP_EXPORT FieldEditDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FieldEditDialog(const Context *context, QWidget *parent = nullptr);

    // Shows the field's type (not editable here) and the value.
    void setValue(int typeId, ValueGeneratorType generator, const QString &params);
    ValueGeneratorType generator() const { return m_generator; }
    // The trimmed parameter text.
    QString params() const { return m_params; }

    // Whether the parameter text parses and holds the numbers and strings
    // the generator needs.
    static bool paramsSuit(ValueGeneratorType generator, const QString &params);
    // The expected form of a generator's parameter text, with an example.
    static QString paramsHint(ValueGeneratorType generator);

private:
    void validate();
    void acceptValue();

    QComboBox *m_typeBox;
    QComboBox *m_generatorBox;
    QLineEdit *m_paramEdit;
    QPushButton *m_okButton;
    QLabel *m_hintLabel = nullptr;
    ValueGeneratorType m_generator = Fixed;
    QString m_params;
};
