#include "skinui/controls/sequence_controls.h"

#include "skinui/attribute_values.h"
#include "skinui/window_host.h"

namespace SkinUI {

bool SetSequenceAttribute(FrameSequence& sequence, const std::wstring& name, const std::wstring& value) {
  // These flags are false only for exactly "false" (unlike the framework's booleans).
  if (name == L"sequencebkimage") sequence.pattern = value;
  else if (EqualsNoCase(name, L"sequencecount")) sequence.count = ParseInt(value);
  else if (EqualsNoCase(name, L"sequencespan")) sequence.intervalMs = ParseInt(value);
  else if (EqualsNoCase(name, L"sequenceloop")) sequence.loop = value != L"false";
  else if (EqualsNoCase(name, L"autostart")) sequence.autoStart = value != L"false";
  else if (EqualsNoCase(name, L"sequenceround")) sequence.backAndForth = value != L"false";
  else return false;
  return true;
}

void StartSequenceTimer(CControlUI& control, const FrameSequence& sequence) {
  const unsigned interval = sequence.intervalMs > 0 ? static_cast<unsigned>(sequence.intervalMs) : 0u;
  if (control.GetManager()) control.GetManager()->SetTimer(&control, kSequenceTimerId, interval);
}

void StopSequenceTimer(CControlUI& control) {
  if (control.GetManager()) control.GetManager()->KillTimer(&control, kSequenceTimerId);
}

void StepSequenceFrame(CControlUI& control, FrameSequence& sequence) {
  std::wstring frame;
  switch (sequence.Advance(frame)) {
    case FrameSequence::Step::kShow:
      control.SetBkImage(frame);
      control.Invalidate();
      break;
    case FrameSequence::Step::kStop:
      StopSequenceTimer(control);
      break;
    case FrameSequence::Step::kNothing:
      break;
  }
}

void* CSequenceLabelUI::GetInterface(const std::wstring& name) {
  if (name == L"SequenceLabel") return this;
  return CLabelUI::GetInterface(name);
}

CSequenceButtonUI::CSequenceButtonUI() {
  sequence_.intervalMs = 60;
  sequence_.backAndForth = true;
}

void* CSequenceButtonUI::GetInterface(const std::wstring& name) {
  if (name == L"SequenceButton") return this;
  return CButtonUI::GetInterface(name);
}

void CSequenceButtonUI::SetTitleText(const std::wstring& text) {
  titleText_ = text;
  Invalidate();
}

void CSequenceButtonUI::SetSubtitleText(const std::wstring& text) {
  subtitleText_ = text;
  Invalidate();
}

SkinRect CSequenceButtonUI::TextRect() const {
  const bool pushed = (buttonState_ & UISTATE_PUSHED) != 0;
  if (!pushed || pushedTextOffset_.IsZero()) {
    return SkinRect{rect_.left + textPadding_.left, rect_.top + textPadding_.top, rect_.right - textPadding_.right,
                    rect_.bottom - textPadding_.bottom};
  }
  return SkinRect{rect_.left + pushedTextOffset_.left, rect_.top + pushedTextOffset_.top,
                  rect_.right - pushedTextOffset_.right, rect_.bottom - pushedTextOffset_.bottom};
}

CControlUI* CSequenceControlsCallback::CreateCustomControl(const std::wstring& name) {
  if (EqualsNoCase(name, L"SequenceButton")) return new CSequenceButtonUI();
  if (EqualsNoCase(name, L"SequenceLabel")) return new CSequenceLabelUI();
  return nullptr;
}

}  // namespace SkinUI
