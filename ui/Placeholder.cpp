// The configuration dialogs are added here; this keeps the library non-empty.
namespace lumivane::ui {
int dialogsAvailable() { return 0; }
} // namespace lumivane::ui
