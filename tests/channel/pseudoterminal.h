#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair for tests: the channel opens the slave by its path,
// the test reads and writes the master side.
class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString errorText() const { return m_error; }
    QString slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }

    bool write(const QByteArray &bytes);
    // Reads until `count` bytes have come or `timeoutMs` passed; never more than `count`.
    QByteArray read(int count, int timeoutMs);
    // Whatever arrives within `timeoutMs`.
    QByteArray drain(int timeoutMs = 0);
    // Hangs up the terminal: the slave side then reports an error.
    void closeMaster();

private:
    int m_master = -1;
    QString m_slavePath;
    QString m_error;
};

// Number of open file descriptors of this process.
int openFileCount();
