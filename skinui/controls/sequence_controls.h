// CSequenceLabelUI and CSequenceButtonUI: a label and a button whose
// background image steps through numbered frames on timer 2100 of their
// window host, and the builder callback that creates them for the element
// names "SequenceLabel" and "SequenceButton".
#pragma once
#include "skinui/controls/button.h"
#include "skinui/controls/frame_sequence.h"
#include "skinui/controls/label.h"
#include "skinui/skin_builder.h"

namespace SkinUI {

// The sequence attributes; false for names that belong to the base control.
bool SetSequenceAttribute(FrameSequence& sequence, const std::wstring& name, const std::wstring& value);
// One timer tick: the next frame becomes `control`'s background image.
void StepSequenceFrame(CControlUI& control, FrameSequence& sequence);
void StartSequenceTimer(CControlUI& control, const FrameSequence& sequence);
void StopSequenceTimer(CControlUI& control);

// The frame animation both sequence controls add to their base control.
template <typename Base>
class CSequenceAnimatedUI : public Base {
 public:
  ~CSequenceAnimatedUI() override { StopAnimation(); }

  void SetSequencePattern(const std::wstring& pattern) { sequence_.pattern = pattern; }
  const std::wstring& GetSequencePattern() const { return sequence_.pattern; }
  void SetSequenceCount(int count) { sequence_.count = count; }
  int GetSequenceCount() const { return sequence_.count; }
  void SetSequenceSpan(int intervalMs) { sequence_.intervalMs = intervalMs; }
  int GetSequenceSpan() const { return sequence_.intervalMs; }
  const FrameSequence& Sequence() const { return sequence_; }

  void StartAnimation() {  // from frame 0
    sequence_.index = 0;
    sequence_.forward = true;
    StartSequenceTimer(*this, sequence_);
  }
  void StopAnimation() { StopSequenceTimer(*this); }  // the frame shown stays

  void DoInit() override {
    if (sequence_.autoStart) StartSequenceTimer(*this, sequence_);
  }
  void DoEvent(TEventUI& event) override {
    Base::DoEvent(event);
    if (event.Type == UIEVENT_TIMER && event.wParam == kSequenceTimerId) StepSequenceFrame(*this, sequence_);
  }
  void SetAttribute(const std::wstring& name, const std::wstring& value) override {
    if (!SetSequenceAttribute(sequence_, name, value)) Base::SetAttribute(name, value);
  }

 protected:
  FrameSequence sequence_;
};

class CSequenceLabelUI : public CSequenceAnimatedUI<CLabelUI> {
 public:
  std::wstring GetClass() const override { return L"SequenceLabel"; }
  void* GetInterface(const std::wstring& name) override;
};

class CSequenceButtonUI : public CSequenceAnimatedUI<CButtonUI> {
 public:
  CSequenceButtonUI();
  std::wstring GetClass() const override { return L"SequenceButton"; }
  void* GetInterface(const std::wstring& name) override;

  // Two free texts kept for the painter, and the inward offsets of the text
  // while the button is pushed (all zero: normal text painting).
  void SetTitleText(const std::wstring& text);
  const std::wstring& GetTitleText() const { return titleText_; }
  void SetSubtitleText(const std::wstring& text);
  const std::wstring& GetSubtitleText() const { return subtitleText_; }
  void SetPushedTextOffset(const SkinRect& offset) { pushedTextOffset_ = offset; }
  const SkinRect& GetPushedTextOffset() const { return pushedTextOffset_; }
  // Where the text goes in the current state.
  SkinRect TextRect() const;

 private:
  std::wstring titleText_;
  std::wstring subtitleText_;
  SkinRect pushedTextOffset_;
};

// The builder callback of windows that use the sequence controls.
class CSequenceControlsCallback : public ISkinBuilderCallback {
 public:
  CControlUI* CreateCustomControl(const std::wstring& name) override;
};

}  // namespace SkinUI
