#pragma once
// The Help menu's About box: the module's name, its own release and a small
// picture; Shift+Alt+F3 on the OK button shows the build label.
#include "ui/Form.h"

class TButton;
class TImage;
class TLabel;

class TAboutForm : public TForm {
public:
    explicit TAboutForm(TComponent* owner);

    TLabel* Label1 = nullptr;   // title
    TLabel* Label2 = nullptr;   // "Release Version:"
    TLabel* La_FwVer = nullptr; // the module's release
    TLabel* Label4 = nullptr;   // build label, hidden at start
    TLabel* Label3 = nullptr;   // notice line
    TImage* Image1 = nullptr;
    TButton* BT_Ok = nullptr;

    void BT_OkClick(TObject* sender);
    void BT_OkKeyDown(TObject* sender, unsigned short& key, TShiftState shift);

    static constexpr unsigned short VK_F3 = 114;
    static constexpr int PictureSize = 32;
    // The picture's pixels, 8-bit RGB, row after row.
    static const unsigned char* PicturePixels();
};
