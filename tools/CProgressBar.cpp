#include "CProgressBar.h"

#include <unistd.h>
#include <algorithm>

CProgressBar::CProgressBar(std::FILE* stream, std::string unit)
    : m_Stream(stream), m_Unit(std::move(unit)), m_bVisible(isatty(fileno(stream)) == 1) {}

std::string CProgressBar::Render(int done, int total, int width, const std::string& unit) {
    total = std::max(total, 1);
    done = std::clamp(done, 0, total);
    const int filled = static_cast<int>(static_cast<long long>(width) * done / total);
    std::string bar;
    bar.reserve(static_cast<size_t>(width) + unit.size() + 32);
    bar += '[';
    bar.append(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(width - filled), '.');
    bar += "] ";
    bar += std::to_string(done);
    bar += '/';
    bar += std::to_string(total);
    bar += ' ';
    bar += unit;
    return bar;
}

void CProgressBar::Update(int done, int total) {
    if (!m_bVisible)
        return;
    std::fprintf(m_Stream, "\r%s", Render(done, total, 40, m_Unit).c_str());
    std::fflush(m_Stream);
    m_bDrawn = true;
}

void CProgressBar::Finish() {
    if (m_bDrawn)
        std::fputc('\n', m_Stream);
    m_bDrawn = false;
}
