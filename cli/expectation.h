#pragma once

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include <dorvane/framerolecheck.h>

class Context;
class ProtocolParser;
class RxProtocol;
struct FrameValue;

// What a run waits for in the received bytes. Each matcher keeps only a
// bounded window of the stream, so a peer that floods costs no memory.

// A byte pattern, "??" positions matching any byte, found anywhere in the
// stream, across chunk boundaries.
class BytePatternMatcher
{
public:
    BytePatternMatcher(const QByteArray &bytes, const QByteArray &mask);
    // True once the pattern has been seen.
    bool feed(const QByteArray &chunk);
    bool isMet() const { return m_met; }

private:
    QByteArray m_bytes;
    QByteArray m_mask;
    QByteArray m_window;
    bool m_met = false;
};

// A regular expression over the received text (UTF-8), matched against the
// last few kilobytes.
class TextPatternMatcher
{
public:
    explicit TextPatternMatcher(const QString &pattern);
    bool feed(const QByteArray &chunk);
    bool isMet() const { return m_met; }

private:
    QRegularExpression m_expression;
    QByteArray m_window;
    bool m_met = false;
};

// Frames of a receive protocol cut from the stream by Core's ProtocolParser;
// every decoded frame is handed on with the values as text.
class FrameMatcher
{
public:
    struct Value
    {
        int graphId;
        QString text;
    };
    using FrameHandler = std::function<void(const std::vector<Value> &values)>;

    FrameMatcher();
    ~FrameMatcher();

    // False with the reason when the file is not a usable receive protocol.
    bool load(const QString &path, Context *context, QString *error);
    void setFrameHandler(FrameHandler handler) { m_handler = std::move(handler); }
    // Frames decoded so far.
    int feed(const QByteArray &chunk);
    int frameCount() const { return m_frames; }
    // The protocol's checksum and counter checks; frames whose checksum
    // fails are neither handed on nor counted as frames.
    const FrameRoleCheck &roleCheck() const { return m_roleCheck; }
    // Why a role of the protocol is not checked; empty when all are.
    const QString &roleProblem() const { return m_roleProblem; }

private:
    void publish();

    std::unique_ptr<RxProtocol> m_protocol;
    std::unique_ptr<ProtocolParser> m_parser;
    // Per decoded value: whether its field's type is unsigned, so 200 in an
    // unsigned byte reads 200, not -56.
    std::vector<bool> m_unsigned;
    FrameRoleCheck m_roleCheck;
    QString m_roleProblem;
    FrameHandler m_handler;
    QByteArray m_stream;
    int m_frames = 0;
};
