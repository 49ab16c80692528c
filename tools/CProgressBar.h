#pragma once
// A one-line progress bar on a terminal: "[#####.....]  12/100 frames".
// Drawn only when the stream is a terminal, so that logs and pipes stay clean.

#include <cstdio>
#include <string>

class CProgressBar {
public:
    CProgressBar(std::FILE* stream, std::string unit);
    // Whether anything is drawn (the stream is a terminal).
    bool Visible() const { return m_bVisible; }
    void Update(int done, int total);
    // Ends the line.
    void Finish();
    // The bar's text for done of total, width characters between brackets.
    static std::string Render(int done, int total, int width, const std::string& unit);

private:
    std::FILE* m_Stream;
    std::string m_Unit;
    bool m_bVisible;
    bool m_bDrawn = false;
};
