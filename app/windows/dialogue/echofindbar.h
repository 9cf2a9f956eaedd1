#pragma once

#include <QVector>
#include <QWidget>

#include <dorvane/app_export.h>

class EchoTextEdit;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTextDocument;

// The find bar over the echo view (Ctrl+F): a text or hex pattern, match
// case, highlight all, next and previous, "n of m".
//
// The search walks the log's own strings rather than QTextDocument::find,
// which builds a cursor per block and sees only the document's part: on a full view (100 000 lines) it stays
// well inside 100 ms. Highlight all marks at most kMaxHighlights matches
// around the current one; more would cost more in painting than they show.
class DORVANE_APP_EXPORT EchoFindBar : public QWidget
{
    Q_OBJECT

public:
    // A match in line `line` of the whole log.
    struct Match
    {
        int line;
        int offset;
        int length;
    };

    explicit EchoFindBar(EchoTextEdit *edit, QWidget *parent = nullptr);

    // Every match in the log, the lines the document does not hold too. A hex pattern ("0a ff", "0AFF") is
    // the bytes as the hex view shows them; an odd digit or a non-hex character matches nothing.
    static QVector<Match> findAll(const EchoTextEdit *edit, const QString &pattern, bool hex, bool matchCase);
    // "41 0A" for "410a"; empty when the text is no hex pattern.
    static QString hexPattern(const QString &text);

    void search();
    void findNext();
    void findPrevious();
    int matchCount() const { return m_matches.size(); }
    int currentIndex() const { return m_current; }

    static const int kMaxHighlights = 2000;

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void showCurrent();

    EchoTextEdit *m_edit = nullptr;
    QLineEdit *m_text = nullptr;
    QCheckBox *m_hex = nullptr;
    QCheckBox *m_case = nullptr;
    QCheckBox *m_all = nullptr;
    QLabel *m_count = nullptr;
    QVector<Match> m_matches;
    int m_current = -1;
};
