#pragma once

#include <QDialog>

#include <dorvane/app_export.h>

#include <functional>

class QLabel;

// Asks whether a changed document is to be saved. Ends with the standard
// button codes: Yes (save), No (go on without saving) or Cancel (abort);
// closing the dialog by its title bar counts as Cancel.
class DORVANE_APP_EXPORT SaveFileAskDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SaveFileAskDialog(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const;

    // The question every document window asks before its document goes:
    // Yes saves (the result is the save's), No goes on (true), Cancel stops
    // (false).
    static bool askToSave(QWidget *parent, const QString &title, const QString &text,
                          const std::function<bool()> &save);

public slots:
    void reject() override;

private:
    QLabel *m_text = nullptr;
};
