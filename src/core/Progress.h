#pragma once
// Long operations report progress in percent. The main window shows it in its
// progress bar (hiding the status bar meanwhile); tests record the positions.
#include <vector>

namespace vermeo {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void begin() {}
    virtual void setPosition(int percent) { (void)percent; }
    virtual void end() {}
};

// Does nothing: for the command line and for kernels run without a window.
inline Progress &silentProgress()
{
    static Progress p;
    return p;
}

// Keeps every call, for tests.
class ProgressRecorder : public Progress {
public:
    void begin() override
    {
        ++begins;
        active = true;
    }
    void setPosition(int percent) override { positions.push_back(percent); }
    void end() override
    {
        ++ends;
        active = false;
    }
    int begins = 0;
    int ends = 0;
    bool active = false;
    std::vector<int> positions;
};

// begin()/end() around a scope, also when a kernel throws.
class ProgressScope {
public:
    explicit ProgressScope(Progress &p) : m_p(p) { m_p.begin(); }
    ~ProgressScope() { m_p.end(); }
    Progress &progress() { return m_p; }
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

private:
    Progress &m_p;
};

} // namespace vermeo
