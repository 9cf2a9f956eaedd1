#include <dorvane/replypairing.h>

namespace {

// Percentiles cover the newest round trips; an hour at 10 a second and more.
constexpr std::size_t kRetainedRoundTrips = 1u << 16;

} // namespace

ReplyPairing::ReplyPairing(std::int64_t windowUs)
    : m_windowUs(windowUs > 0 ? windowUs : kDefaultWindowUs)
    , m_rtt(kRetainedRoundTrips)
{
}

void ReplyPairing::SetWindowUs(std::int64_t windowUs)
{
    if (windowUs > 0) {
        m_windowUs = windowUs;
    }
}

void ReplyPairing::Request(std::int64_t us)
{
    ++m_requests;
    if (m_waiting) {
        ++m_missing;
    }
    m_waiting = true;
    m_sentUs = us;
}

bool ReplyPairing::Reply(std::int64_t us)
{
    Expire(us);
    // What arrives before the waiting request was written answers nothing.
    if (!m_waiting || us < m_sentUs) {
        ++m_unpaired;
        return false;
    }
    m_rtt.add(us - m_sentUs);
    m_waiting = false;
    return true;
}

void ReplyPairing::Expire(std::int64_t nowUs)
{
    if (m_waiting && nowUs - m_sentUs > m_windowUs) {
        m_waiting = false;
        ++m_missing;
    }
}

void ReplyPairing::Finish()
{
    if (m_waiting) {
        m_waiting = false;
        ++m_missing;
    }
}

void ReplyPairing::Reset()
{
    m_waiting = false;
    m_sentUs = 0;
    m_rtt.reset();
    m_requests = m_missing = m_unpaired = 0;
}
