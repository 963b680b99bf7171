#include "skinui/controls/sequence_controls.h"

#include "skinui/attribute_values.h"
#include "skinui/window_host.h"

namespace SkinUI {
namespace {

// The attributes both classes share; false for names that belong to the base.
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

unsigned Interval(const FrameSequence& sequence) {
  return sequence.intervalMs > 0 ? static_cast<unsigned>(sequence.intervalMs) : 0u;
}

// One timer tick: the next frame becomes the background image.
void StepFrames(CControlUI& control, FrameSequence& sequence) {
  std::wstring frame;
  switch (sequence.Advance(frame)) {
    case FrameSequence::Step::kShow:
      control.SetBkImage(frame);
      control.Invalidate();
      break;
    case FrameSequence::Step::kStop:
      if (control.GetManager()) control.GetManager()->KillTimer(&control, kSequenceTimerId);
      break;
    case FrameSequence::Step::kNothing:
      break;
  }
}

}  // namespace

CSequenceLabelUI::~CSequenceLabelUI() {
  if (host_) host_->KillTimer(this, kSequenceTimerId);
}

void* CSequenceLabelUI::GetInterface(const std::wstring& name) {
  if (name == L"SequenceLabel") return this;
  return CLabelUI::GetInterface(name);
}

void CSequenceLabelUI::StartAnimation() {
  sequence_.index = 0;
  sequence_.forward = true;
  if (host_) host_->SetTimer(this, kSequenceTimerId, Interval(sequence_));
}

void CSequenceLabelUI::StopAnimation() {
  if (host_) host_->KillTimer(this, kSequenceTimerId);
}

void CSequenceLabelUI::DoInit() {
  if (sequence_.autoStart && host_) host_->SetTimer(this, kSequenceTimerId, Interval(sequence_));
}

void CSequenceLabelUI::DoEvent(TEventUI& event) {
  CLabelUI::DoEvent(event);
  if (event.Type == UIEVENT_TIMER && event.wParam == kSequenceTimerId) StepFrames(*this, sequence_);
}

void CSequenceLabelUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!SetSequenceAttribute(sequence_, name, value)) CLabelUI::SetAttribute(name, value);
}

CSequenceButtonUI::CSequenceButtonUI() {
  sequence_.intervalMs = 60;
  sequence_.backAndForth = true;
}

CSequenceButtonUI::~CSequenceButtonUI() {
  if (host_) host_->KillTimer(this, kSequenceTimerId);
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

void CSequenceButtonUI::StartAnimation() {
  sequence_.index = 0;
  sequence_.forward = true;
  if (host_) host_->SetTimer(this, kSequenceTimerId, Interval(sequence_));
}

void CSequenceButtonUI::StopAnimation() {
  if (host_) host_->KillTimer(this, kSequenceTimerId);
}

void CSequenceButtonUI::DoInit() {
  if (sequence_.autoStart && host_) host_->SetTimer(this, kSequenceTimerId, Interval(sequence_));
}

void CSequenceButtonUI::DoEvent(TEventUI& event) {
  CButtonUI::DoEvent(event);
  if (event.Type == UIEVENT_TIMER && event.wParam == kSequenceTimerId) StepFrames(*this, sequence_);
}

void CSequenceButtonUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (!SetSequenceAttribute(sequence_, name, value)) CButtonUI::SetAttribute(name, value);
}

CControlUI* CSequenceControlsCallback::CreateCustomControl(const std::wstring& name) {
  if (EqualsNoCase(name, L"SequenceButton")) return new CSequenceButtonUI();
  if (EqualsNoCase(name, L"SequenceLabel")) return new CSequenceLabelUI();
  return nullptr;
}

}  // namespace SkinUI
