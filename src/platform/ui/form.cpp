#include "platform/ui/form.h"

#include "platform/ui/modal_driver.h"

namespace tarvex::ui {

namespace {
// Handles are unique within the process, as window handles are on a desktop.
WindowHandle nextWindowHandle() {
    static WindowHandle next = 0x1000;
    return next += 4;
}
}  // namespace

Form::Form(std::string name, Design design) : name_(std::move(name)), design_(std::move(design)) {}

Form::~Form() = default;

void Form::resetWindowState() {
    controls_.clear();
    byName_.clear();
    active_ = nullptr;
    caption_.clear();
    visible_ = false;
    modal_ = false;
    mousePointer_ = MousePointer::Default;
    windowState_ = WindowState::Normal;
    top_ = left_ = 0;
    width_ = height_ = 0;
    handle_ = 0;
    icon_.clear();
}

void Form::load() {
    if (loaded_) return;
    resetWindowState();
    // Loaded before the design runs, so that the design may look up what it created.
    loaded_ = true;
    ++generation_;
    handle_ = nextWindowHandle();
    if (design_) design_(*this);
    raise(kFormEvents, Event::Load);
}

void Form::unload() {
    if (!loaded_) return;
    const unsigned gen = generation_;
    raise(kFormEvents, Event::Unload);
    // Form_Unload may itself have unloaded and reloaded the form; that load stands.
    if (gen != generation_ || !loaded_) return;
    resetWindowState();
    loaded_ = false;
}

void Form::show(bool modal) {
    load();
    if (modal && visible_)
        throw Error(400, "Formular wird bereits angezeigt; kann nicht modal angezeigt werden");
    visible_ = true;
    if (!modal) return;
    modal_ = true;
    const unsigned gen = generation_;
    modalDriver().runModal(*this);
    if (gen == generation_ && loaded_) modal_ = false;
}

void Form::hide() {
    visible_ = false;
    modal_ = false;
}

void Form::setWindowState(int state) {
    if (state < 0 || state > 2) throw Error(errc::invalidPropertyValue);
    windowState_ = static_cast<WindowState>(state);
}

void Form::setSize(int widthTwips, int heightTwips) {
    width_ = widthTwips;
    height_ = heightTwips;
}

template <class T, class... Args>
T& Form::add(const std::string& name, Args&&... args) {
    if (!loaded_)
        throw Error(errc::invalidCall, "Steuerelemente entstehen nur beim Laden: " + name);
    if (byName_.count(name)) throw Error(errc::invalidCall, "Steuerelement doppelt: " + name);
    auto control = std::make_unique<T>(*this, name, std::forward<Args>(args)...);
    T& ref = *control;
    byName_[name] = control.get();
    controls_.push_back(std::move(control));
    return ref;
}

Label& Form::addLabel(const std::string& name, std::string caption, Rect rect) {
    return add<Label>(name, std::move(caption), rect);
}
TextBox& Form::addTextBox(const std::string& name, Rect rect) { return add<TextBox>(name, rect); }
MaskedField& Form::addMaskedField(const std::string& name, std::string mask, Rect rect) {
    return add<MaskedField>(name, std::move(mask), rect);
}
ComboBox& Form::addComboBox(const std::string& name, std::vector<std::string> entries, Rect rect) {
    return add<ComboBox>(name, std::move(entries), rect);
}
CheckBox& Form::addCheckBox(const std::string& name, std::string caption, Rect rect) {
    return add<CheckBox>(name, std::move(caption), rect);
}
OptionButton& Form::addOptionButton(const std::string& name, std::string caption, Rect rect,
                                    std::string group) {
    return add<OptionButton>(name, std::move(caption), rect, std::move(group));
}
CommandButton& Form::addCommandButton(const std::string& name, std::string caption, Rect rect) {
    return add<CommandButton>(name, std::move(caption), rect);
}
Frame& Form::addFrame(const std::string& name, std::string caption, Rect rect) {
    return add<Frame>(name, std::move(caption), rect);
}
TabStrip& Form::addTabStrip(const std::string& name, std::vector<std::string> tabs, Rect rect) {
    return add<TabStrip>(name, std::move(tabs), rect);
}

Control& Form::control(const std::string& name) {
    load();
    if (Control* c = find(name)) return *c;
    throw Error(errc::subscriptOutOfRange, "Steuerelement nicht gefunden: " + name_ + "." + name);
}

OptionButton& Form::option(const std::string& base, int index) {
    return option(base + "(" + std::to_string(index) + ")");
}

Error Form::wrongKind(const std::string& name) const {
    return Error(errc::typeMismatch, "Steuerelement anderer Art: " + name_ + "." + name);
}

Control* Form::find(const std::string& name) const {
    const auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

std::vector<Control*> Form::controls() const {
    std::vector<Control*> out;
    out.reserve(controls_.size());
    for (const auto& c : controls_) out.push_back(c.get());
    return out;
}

void Form::on(const std::string& control, Event event, EventHandler handler) {
    handlers_[{control, event}] = std::move(handler);
}

void Form::raise(const std::string& control, Event event, EventArgs& args) {
    auto it = handlers_.find({control, event});
    if (it == handlers_.end()) {
        if (const Control* c = find(control); c && c->index() >= 0)
            it = handlers_.find({c->baseName(), event});
    }
    if (it == handlers_.end()) return;
    if (args.control.empty()) args.control = control;
    if (args.index < 0) {
        if (const Control* c = find(control)) args.index = c->index();
    }
    // A copy: the procedure may replace its own registration while it runs.
    EventHandler handler = it->second;
    handler(args);
}

void Form::raise(const std::string& control, Event event) {
    EventArgs args;
    raise(control, event, args);
}

}  // namespace tarvex::ui
