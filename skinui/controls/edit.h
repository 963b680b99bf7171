// CEditUI: a single-line text field. This is the platform-free half: its
// properties and attributes, the hint, and the edit session state that the
// window host's native side drives (begin on click or focus when editable;
// every change copied into the text with "textchanged"; Enter sends
// "return"; the session ends when the native box loses the focus).
#pragma once
#include "skinui/controls/label.h"

namespace SkinUI {

class CEditUI : public CLabelUI {
 public:
  CEditUI();
  std::wstring GetClass() const override { return L"Edit"; }
  void* GetInterface(const std::wstring& name) override;

  int GetMaxChar() const { return maxChar_; }
  wchar_t GetPasswordChar() const { return passwordChar_; }
  bool IsReadOnly() const { return readOnly_; }
  bool IsNumberOnly() const { return numberOnly_; }
  bool IsPasswordMode() const { return password_; }
  bool IsAutoSelectAll() const { return autoSelectAll_; }
  const std::wstring& GetTipValue() const { return tipValue_; }
  uint32_t GetTipValueColor() const { return tipValueColor_; }
  uint32_t GetNativeBkColor() const { return nativeBkColor_; }
  uint32_t GetNativeTextColor() const { return nativeTextColor_; }
  const ImageDrawSpec& GetNormalImage() const { return normalImage_; }
  const ImageDrawSpec& GetHotImage() const { return hotImage_; }
  const ImageDrawSpec& GetFocusedImage() const { return focusedImage_; }
  const ImageDrawSpec& GetDisabledImage() const { return disabledImage_; }
  // The hint shows while the text is empty and no session runs.
  bool ShowsTip() const { return text_.empty() && !editing_ && !tipValue_.empty(); }

  // Edit sessions, driven by the native side.
  bool IsEditing() const { return editing_; }
  // Where the native box goes: the control's rectangle minus the text padding.
  SkinRect NativeBoxRect() const;
  void OnNativeTextChanged(const std::wstring& text);
  void OnNativeReturn();
  void OnNativeFocusLost();

  void DoEvent(TEventUI& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

 private:
  void BeginEdit();

  int maxChar_ = 255;
  wchar_t passwordChar_ = L'*';
  bool readOnly_ = false;
  bool numberOnly_ = false;
  bool password_ = false;
  bool autoSelectAll_ = false;
  bool editing_ = false;
  ImageDrawSpec normalImage_, hotImage_, focusedImage_, disabledImage_;
  uint32_t nativeBkColor_ = 0;
  uint32_t nativeTextColor_ = 0;
  uint32_t tipValueColor_ = 0;
  std::wstring tipValue_;
};

}  // namespace SkinUI
