#pragma once
// What the wireless forms build their windows from: a combo box filled from
// a list, the band pages, and a read whose failure the form shows by its own
// means rather than by an exception. Also the one set of WEP key rules every form follows.
#include "binding/QvSNMPRequest2Edits.h"
#include "ui/Control.h"

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>

class QvSNMPRequest2Controls;
class TComboBox;
class TEdit;
class TForm;
class TPageControl;
class TTabSheet;

namespace formparts {

void Fill(TComboBox* c, std::initializer_list<const char*> items);

// A band form's page control with band 1's tab and band 2's, which the
// stored layout hides.
struct BandPages {
    TPageControl* pages;
    TTabSheet* band1;
    TTabSheet* band2;
};
BandPages MakeBandPages(TForm* form, const std::string& name, const std::string& band1Name,
                        const std::string& band2Name, int l, int t, int w, int h);

// --- WEP keys -------------------------------------------------------------
// A key edit never shows a key the device holds: it holds a mask, one
// asterisk per character, until the user types a key. The device always
// receives a key as hexadecimal text; a key typed as ASCII is converted on
// its way out, never inside the edit.

enum class HexCase { Upper, Lower };

// Asterisks only, at least one. An empty edit is no mask: it is a key the
// user cleared, and the length check refuses it.
bool IsKeyMask(const std::string& text);
std::string KeyMask(int length);
bool IsHexText(const std::string& text);
// Two digits per character, of its 8-bit code (0 to 255).
std::string AsciiToHex(const std::string& text, HexCase hexCase);
// Pairs of characters, high digit first; a character that is no digit of
// either case counts 0, and an unpaired last character is dropped.
std::string HexToAscii(const std::string& text);
// The length a key must have: size 0, 1, 2 are 64, 128, 152 bits (HEX 10,
// 26, 32; ASCII 5, 13, 16). Any other size counts as 64 bits.
int KeyLength(bool ascii, int sizeIndex);
// The size whose hexadecimal key has this length, or -1.
int KeySizeOfHexLength(size_t length);

enum class KeyUse {
    Keep,    // a mask: the device keeps its key
    Send,    // the key, in hexadecimal, is written
    Refused, // a hexadecimal key with another character: the message was shown
};
// What an Apply does with a key edit (an empty one is kept: nothing to
// send). A refused key shows the plain message
// "Please input  Hexadecimal digits!" and empties the edit. For Send, value
// (when given) receives what goes to the device; the edit keeps its text.
KeyUse OutgoingKey(TEdit* edit, bool ascii, HexCase hexCase, std::string* value);

// A group whose form puts values of its own into variables once the
// controls were copied into them: a key sent in another form than its edit
// shows.
class CollectingGroup : public QvSNMPRequest2Edits {
public:
    using QvSNMPRequest2Edits::QvSNMPRequest2Edits;
    std::function<void()> OnCollected;
    void CollectValues() override;
};

// The group's Read; false also when it raises.
bool ReadNow(QvSNMPRequest2Controls* group);

} // namespace formparts
