#pragma once
// The status bar: either one simple text or a row of panels. Writing the
// simple text switches the bar to simple mode so that it shows; writing a
// panel's text switches it back to the panels.
#include "ui/Control.h"

class TStatusBar;

class TStatusPanel : public TObject {
public:
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    int Width() const { return width_; }
    void SetWidth(int width);
    int Index() const;
    TStatusBar* StatusBar() const { return bar_; }

private:
    friend class TStatusPanels;
    friend class TStatusBar;
    explicit TStatusPanel(TStatusBar* bar) : bar_(bar) {}
    TStatusBar* bar_;
    std::string text_;
    int width_ = 50;
};

class TStatusPanels {
public:
    ~TStatusPanels();
    int Count() const { return static_cast<int>(panels_.size()); }
    TStatusPanel* Items(int index) const;
    TStatusPanel* operator[](int index) const { return Items(index); }
    TStatusPanel* Add();
    void Delete(int index);
    void Clear();

private:
    friend class TStatusBar;
    friend class TStatusPanel;
    explicit TStatusPanels(TStatusBar* bar) : bar_(bar) {}
    TStatusBar* bar_;
    std::vector<TStatusPanel*> panels_;
};

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;

    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool on);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& text);
    TStatusPanels& Panels() { return *panels_; }
    const TStatusPanels& Panels() const { return *panels_; }
    // The text that is on screen: the simple text, or the panels' texts
    // joined with " | ".
    std::string ShownText() const;

private:
    friend class TStatusPanel;
    friend class TStatusPanels;
    friend class StatusWidget;
    void PanelChanged(TStatusPanel* panel, bool textWritten);
    void Rebuild();
    std::unique_ptr<TStatusPanels> panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
};
