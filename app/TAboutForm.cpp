#include "app/TAboutForm.h"

#include "app/MainUnit.h"
#include "ui/Widgets.h"

#include <array>
#include <string>

namespace {

using Pixels = std::array<unsigned char, TAboutForm::PictureSize * TAboutForm::PictureSize * 3>;

// A small access point: a grey box on a pale background, two antennas and
// three green lights.
Pixels DrawPicture() {
    Pixels px{};
    constexpr int n = TAboutForm::PictureSize;
    auto put = [&](int x, int y, unsigned char r, unsigned char g, unsigned char b) {
        if (x < 0 || y < 0 || x >= n || y >= n) return;
        unsigned char* p = &px[static_cast<size_t>((y * n + x) * 3)];
        p[0] = r;
        p[1] = g;
        p[2] = b;
    };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            put(x, y, 0xE8, 0xEE, 0xF6);
    // Antennas, a tip at the top of each.
    for (int y = 3; y < 19; ++y) {
        put(8, y, 0x30, 0x30, 0x38);
        put(23, y, 0x30, 0x30, 0x38);
    }
    for (int x : {7, 8, 9, 22, 23, 24})
        put(x, 3, 0x30, 0x30, 0x38);
    // Body with a lighter top edge.
    for (int y = 19; y < 28; ++y)
        for (int x = 3; x < 29; ++x) {
            const unsigned char shade = y == 19 ? 0x9A : 0x5A;
            put(x, y, shade, shade, static_cast<unsigned char>(shade + 8));
        }
    for (int x = 4; x < 28; ++x)
        put(x, 28, 0x28, 0x28, 0x2C);
    // Lights.
    for (int k = 0; k < 3; ++k)
        for (int dx = 0; dx < 2; ++dx)
            for (int dy = 0; dy < 2; ++dy)
                put(7 + k * 5 + dx, 23 + dy, 0x20, 0xE0, 0x30);
    return px;
}

} // namespace

const unsigned char* TAboutForm::PicturePixels() {
    static const Pixels pixels = DrawPicture();
    return pixels.data();
}

TAboutForm::TAboutForm(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "AboutForm", .caption = "Help\\About", .border = bsSingle,
              .position = poOwnerFormCenter, .clientWidth = 350, .clientHeight = 98});
    SetBorderIcons(BorderIcons() & ~biMaximize);

    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetBounds(16, 16, PictureSize, PictureSize);
    Image1->SetRGB(PictureSize, PictureSize, PicturePixels());

    Label1 = NewLabel(this, this, "", 64, 10, "Label1");
    Label1->Font().SetStyle(fsBold);
    Label2 = NewLabel(this, this, "Release Version:", 64, 31, "Label2");
    // Sized to their texts, so each follows the one before.
    La_FwVer = NewLabel(this, this, "v2.50", Label2->Left() + Label2->Width() + 6, 31, "La_FwVer");
    Label4 = NewLabel(this, this, "R21(2008/12/12)", La_FwVer->Left() + La_FwVer->Width() + 14, 31,
                      "Label4");
    Label4->SetVisible(false);
    Label3 = NewLabel(this, this, "Manages one access point over SNMP.", 64, 51, "Label3");

    BT_Ok = new TButton(this);
    BT_Ok->SetName("BT_Ok");
    BT_Ok->SetCaption("OK");
    BT_Ok->SetBounds(137, 70, 75, 25);
    BT_Ok->SetDefault(true);
    BT_Ok->OnClick = [this](TObject* s) { BT_OkClick(s); };
    BT_Ok->OnKeyDown = [this](TObject* s, unsigned short& key, TShiftState shift) {
        BT_OkKeyDown(s, key, shift);
    };
    SetActiveControl(BT_Ok);

    Label1->SetCaption(std::string(g_ModelName) + g_ModelNameSuffix + " Management Module");
}

void TAboutForm::BT_OkClick(TObject*) {
    Close();
}

void TAboutForm::BT_OkKeyDown(TObject*, unsigned short& key, TShiftState shift) {
    if ((shift & ssShift) && (shift & ssAlt) && key == VK_F3) Label4->SetVisible(true);
}
