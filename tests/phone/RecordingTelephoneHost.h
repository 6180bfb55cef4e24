#pragma once
// Stands in for the form in tests of the telephone layer: records what the layer shows.
#include "phone/ITelephoneHost.h"

#include <string>
#include <vector>

class RecordingTelephoneHost : public ITelephoneHost {
public:
    std::vector<std::string> m_statusTexts;
    int m_nComboSelection = -1;
    int m_nFills = 0;
    int m_nClears = 0;
    int m_nCloses = 0;
    bool m_bBusyShown = false;
    bool m_bCorrectionRowShown = false;

    void SetStatusText(const std::string& text) override { m_statusTexts.push_back(text); }
    void FillPhoneList(bool) override { ++m_nFills; }
    void SelectDirectoryInCombo(int directory) override { m_nComboSelection = directory; }
    void ClearPhoneList() override { ++m_nClears; }
    void ShowCorrectionRow(bool show) override { m_bCorrectionRowShown = show; }
    void ShowBusy(bool busy) override { m_bBusyShown = busy; }
    void CloseFrame() override { ++m_nCloses; }
    std::string LastStatus() const { return m_statusTexts.empty() ? std::string() : m_statusTexts.back(); }
};
