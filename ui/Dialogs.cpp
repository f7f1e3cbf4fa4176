#include "ui/Dialogs.h"

#include "ui/Application.h"
#include "ui/Control.h"
#include "base/SysUtils.h"
#include "ui/detail/Qt.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

using namespace lmrui;

struct ButtonMap {
    TMsgDlgButtons ours;
    QMessageBox::StandardButton qt;
    int result;
};
const ButtonMap kButtons[] = {
    {mbYes, QMessageBox::Yes, IDYES},
    {mbNo, QMessageBox::No, IDNO},
    {mbOK, QMessageBox::Ok, IDOK},
    {mbCancel, QMessageBox::Cancel, IDCANCEL},
    {mbAbort, QMessageBox::Abort, IDABORT},
    {mbRetry, QMessageBox::Retry, IDRETRY},
    {mbIgnore, QMessageBox::Ignore, IDIGNORE},
};

class ScreenMessageSink : public MessageSink {
public:
    int Show(const BoxRequest& r) override {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return 2;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        switch (r.type) {
        case mtWarning:
            icon = QMessageBox::Warning;
            break;
        case mtError:
            icon = QMessageBox::Critical;
            break;
        case mtInformation:
            icon = QMessageBox::Information;
            break;
        case mtConfirmation:
            icon = QMessageBox::Question;
            break;
        case mtCustom:
            break;
        }
        QWidget* parent = nullptr;
        if (r.owner && r.owner->Widget()) parent = r.owner->Widget()->window();
        QMessageBox box(icon, Q(r.caption), Q(r.text), QMessageBox::NoButton, parent);
        box.setTextFormat(Qt::PlainText);
        for (const auto& b : kButtons)
            if (r.buttons & b.ours) box.addButton(b.qt);
        box.exec();
        const auto pressed = box.standardButton(box.clickedButton());
        for (const auto& b : kButtons)
            if (b.qt == pressed) return b.result;
        return r.EscapeAnswer();
    }
};

class ScreenFileSink : public FileDialogSink {
public:
    bool Choose(const FileDialogRequest& r, std::string& fileName) override {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
        // "Text (*.txt)|*.txt|All (*.*)|*.*" becomes Qt's ";;" list.
        QStringList filters;
        const auto parts = SplitString(r.filter, '|');
        for (size_t i = 0; i + 1 < parts.size(); i += 2) {
            std::string pattern = parts[i + 1];
            for (char& c : pattern)
                if (c == ';') c = ' ';
            filters << Q(parts[i] + " (" + pattern + ")");
        }
        QString selected;
        if (r.filterIndex >= 1 && r.filterIndex <= filters.size())
            selected = filters[r.filterIndex - 1];
        const QString dir = Q(r.fileName.empty() ? r.initialDir : r.fileName);
        const QString chosen = r.save ? QFileDialog::getSaveFileName(nullptr, Q(r.title), dir,
                                                                     filters.join(";;"), &selected)
                                      : QFileDialog::getOpenFileName(nullptr, Q(r.title), dir,
                                                                     filters.join(";;"), &selected);
        if (chosen.isEmpty()) return false;
        fileName = S(chosen);
        return true;
    }
};

ScreenMessageSink g_screenBoxes;
ScreenFileSink g_screenFiles;
MessageSink* g_boxes = nullptr;
FileDialogSink* g_files = nullptr;

} // namespace

std::string ApplicationTitle() {
    if (!Application->Title().empty()) return Application->Title();
    std::string name = ExtractFileName(Application->ExeName());
    const std::string ext = ExtractFileExt(name);
    return name.substr(0, name.size() - ext.size());
}

int BoxRequest::EscapeAnswer() const {
    if (OkOnly()) return IDOK;
    if ((buttons & mbCancel) || !(buttons & mbNo)) return IDCANCEL;
    return IDNO;
}

MessageSink* SetMessageSink(MessageSink* sink) {
    MessageSink* old = g_boxes;
    g_boxes = sink;
    return old;
}

MessageSink& CurrentMessageSink() {
    return g_boxes ? *g_boxes : g_screenBoxes;
}

int ShowBox(const BoxRequest& request) {
    return CurrentMessageSink().Show(request);
}

int MessageBox(TWinControl* owner, const std::string& text, const std::string& caption,
               unsigned flags) {
    BoxRequest r;
    r.kind = BoxKind::Box;
    r.text = text;
    r.caption = caption;
    r.owner = owner;
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        r.buttons = mbOK | mbCancel;
        break;
    case MB_ABORTRETRYIGNORE:
        r.buttons = mbAbort | mbRetry | mbIgnore;
        break;
    case MB_YESNOCANCEL:
        r.buttons = mbYes | mbNo | mbCancel;
        break;
    case MB_YESNO:
        r.buttons = mbYes | mbNo;
        break;
    case MB_RETRYCANCEL:
        r.buttons = mbRetry | mbCancel;
        break;
    default:
        r.buttons = mbOK;
        break;
    }
    switch (flags & 0xF0) {
    case MB_ICONHAND:
        r.type = mtError;
        break;
    case MB_ICONQUESTION:
        r.type = mtConfirmation;
        break;
    case MB_ICONEXCLAMATION:
        r.type = mtWarning;
        break;
    case MB_ICONASTERISK:
        r.type = mtInformation;
        break;
    default:
        r.type = mtCustom;
        break;
    }
    return ShowBox(r);
}

void ShowMessage(const std::string& text) {
    BoxRequest r;
    r.kind = BoxKind::Message;
    r.text = text;
    r.caption = ApplicationTitle();
    r.buttons = mbOK;
    ShowBox(r);
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
    BoxRequest r;
    r.kind = BoxKind::Dialog;
    r.text = text;
    r.type = type;
    r.buttons = buttons ? buttons : mbOK;
    r.helpContext = helpContext;
    switch (type) {
    case mtWarning:
        r.caption = "Warning";
        break;
    case mtError:
        r.caption = "Error";
        break;
    case mtInformation:
        r.caption = "Information";
        break;
    case mtConfirmation:
        r.caption = "Confirm";
        break;
    case mtCustom:
        r.caption = ApplicationTitle();
        break;
    }
    return ShowBox(r);
}

FileDialogSink* SetFileDialogSink(FileDialogSink* sink) {
    FileDialogSink* old = g_files;
    g_files = sink;
    return old;
}

FileDialogSink& CurrentFileDialogSink() {
    return g_files ? *g_files : g_screenFiles;
}

bool TOpenDialog::Run(bool save) {
    FileDialogRequest r;
    r.save = save;
    r.title = title_;
    r.filter = filter_;
    r.filterIndex = filterIndex_;
    r.initialDir = initialDir_;
    r.fileName = fileName_;
    r.defaultExt = defaultExt_;
    std::string chosen;
    if (!CurrentFileDialogSink().Choose(r, chosen)) return false;
    if (!defaultExt_.empty() && ExtractFileExt(chosen).empty()) {
        chosen += defaultExt_[0] == '.' ? defaultExt_ : "." + defaultExt_;
    }
    fileName_ = chosen;
    return true;
}

bool TOpenDialog::Execute() {
    return Run(false);
}
bool TSaveDialog::Execute() {
    return Run(true);
}
