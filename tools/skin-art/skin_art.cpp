// skin-art OUTDIR: writes every image of the skin archive (res/...) into
// OUTDIR. The output depends only on this code and the installed font, so
// repeated builds give the same archive content.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/skin-art/art_canvas.h"

using SkinArt::Canvas;
using SkinArt::Color;
using SkinArt::Rgb;

namespace {

const Color kBrand = Rgb(0x1675FE);
const Color kBrandHot = Rgb(0x5A9DFD);
const Color kBrandPushed = Rgb(0x1365DB);
const Color kWhite = Rgb(0xFFFFFF);
const Color kInk = Rgb(0x282A43);

std::filesystem::path outDir;
int written = 0;

bool Save(const Canvas& canvas, const std::string& relative) {
  const std::filesystem::path path = outDir / relative;
  std::filesystem::create_directories(path.parent_path());
  if (!canvas.WritePng(path.string())) {
    std::fprintf(stderr, "skin-art: cannot write %s\n", path.string().c_str());
    return false;
  }
  ++written;
  return true;
}

// The three looks of an interactive piece.
Color StateColor(int state) { return state == 1 ? kBrand : state == 2 ? kBrandHot : kBrandPushed; }

bool TitleButtons() {
  bool ok = true;
  for (int state = 1; state <= 3; ++state) {
    const std::string n = std::to_string(state);
    const Color glyph = state == 1 ? Rgb(0x5B6079) : kInk;
    const Color plate = state == 1 ? Rgb(0, 0) : state == 2 ? Rgb(0xFFFFFF, 0.6f) : Rgb(0xDCE3F0, 0.9f);
    Canvas minimise(24, 24);
    minimise.FillRoundRect(1, 1, 23, 23, 4, plate);
    minimise.StrokeLine(7, 12.5f, 17, 12.5f, 1.6f, glyph);
    ok &= Save(minimise, "res/common/minbtn" + n + ".png");

    Canvas close(24, 24);
    close.FillRoundRect(1, 1, 23, 23, 4, plate);
    close.StrokeLine(7.5f, 7.5f, 16.5f, 16.5f, 1.6f, glyph);
    close.StrokeLine(16.5f, 7.5f, 7.5f, 16.5f, 1.6f, glyph);
    ok &= Save(close, "res/common/closebtn" + n + ".png");

    // Dialog close button: turns red when hot.
    Canvas dialogClose(24, 24);
    const Color red = state == 2 ? Rgb(0xF5454F) : Rgb(0xD9303A);
    if (state > 1) dialogClose.FillCircle(12, 12, 11, red);
    const Color cross = state == 1 ? Rgb(0x8A90A6) : kWhite;
    dialogClose.StrokeLine(8, 8, 16, 16, 1.5f, cross);
    dialogClose.StrokeLine(16, 8, 8, 16, 1.5f, cross);
    ok &= Save(dialogClose, "res/common/closebtnM_" + n + ".png");
  }
  return ok;
}

bool DialogIcons() {
  bool ok = true;
  Canvas quest(40, 40);
  quest.FillCircle(20, 20, 19, kBrand);
  quest.Text(L"?", 28, true, 20, 20, kWhite);
  ok &= Save(quest, "res/MessageBoxWnd/icoQuest.png");

  Canvas warn(40, 40);
  warn.FillCircle(20, 20, 19, Rgb(0xFAAD14));
  warn.Text(L"!", 28, true, 20, 20, kWhite);
  ok &= Save(warn, "res/MessageBoxWnd/icoWarn.png");

  Canvas network(40, 40);
  network.FillCircle(20, 20, 19, Rgb(0xF5454F));
  for (int ring = 0; ring < 3; ++ring) {
    network.StrokeArc(20, 27, 5.0f + ring * 5.5f, 2.4f, 225, 90, kWhite);
  }
  network.FillCircle(20, 27, 2.2f, kWhite);
  ok &= Save(network, "res/MessageBoxWnd/icoNetwork.png");
  return ok;
}

bool Backgrounds() {
  bool ok = true;
  const uint32_t tints[4][2] = {{0xFFFFFF, 0xE8F1FF}, {0xF7FAFF, 0xDCE9FF}, {0xFFFFFF, 0xEEF3FA}, {0xF4F8FF, 0xE3ECFA}};
  for (int i = 0; i < 4; ++i) {
    Canvas bg(600, 400);
    const Color top = Rgb(tints[i][0]), bottom = Rgb(tints[i][1]);
    bg.Fill([](float, float) { return true; }, [&](float, float y) { return SkinArt::Mix(top, bottom, y / 400.0f); });
    // Soft brand-coloured circles in the corner give the page some depth.
    bg.FillCircle(560, -30, 180, Rgb(0x1675FE, 0.06f));
    bg.FillCircle(40, 430, 150, Rgb(0x1675FE, 0.05f));
    bg.FillRoundRect(0, 0, 600, 400, 0, Rgb(0, 0));
    ok &= Save(bg, "res/mainWnd/bg" + std::to_string(i + 1) + ".png");
  }
  return ok;
}

void ProductMark(Canvas& canvas, float cx, float cy, float size) {
  const float half = size / 2;
  canvas.FillRoundRectGradient(cx - half, cy - half, cx + half, cy + half, size * 0.24f, Rgb(0x3E8BFF), Rgb(0x1160E8));
  // A play triangle.
  const float ax = cx - size * 0.16f, ay = cy - size * 0.22f, by = cy + size * 0.22f, tipX = cx + size * 0.24f;
  canvas.Fill([=](float x, float y) {
    if (x < ax || x > tipX) return false;
    const float t = (x - ax) / (tipX - ax);
    const float spread = (by - ay) / 2 * (1 - t);
    return std::fabs(y - cy) <= spread;
  }, kWhite);
}

bool Logo() {
  Canvas logo(263, 58);
  ProductMark(logo, 29, 29, 50);
  logo.Text(L"Velmora", 34, true, 160, 27, kInk);
  return Save(logo, "res/mainWnd/logo.png");
}

bool WideButtons() {
  bool ok = true;
  for (int state = 1; state <= 3; ++state) {
    const std::string n = std::to_string(state);
    const Color fill = StateColor(state);
    Canvas install(200, 46);
    install.FillRoundRectGradient(0, 0, 200, 46, 23, SkinArt::Mix(fill, kWhite, 0.12f), fill);
    install.Text(L"立即安装", 18, false, 100, 23, kWhite);
    ok &= Save(install, "res/mainWnd/installBtn" + n + ".png");

    Canvas experience(200, 46);
    experience.FillRoundRectGradient(0, 0, 200, 46, 23, SkinArt::Mix(fill, kWhite, 0.12f), fill);
    experience.Text(L"立即体验", 18, false, 100, 23, kWhite);
    ok &= Save(experience, "res/mainWnd/experienceBtn" + n + ".png");

    Canvas back(64, 30);
    if (state > 1) back.FillRoundRect(0, 0, 64, 30, 15, state == 2 ? Rgb(0xFFFFFF, 0.7f) : Rgb(0xDCE3F0));
    back.StrokeLine(13, 15, 19, 9, 1.8f, kInk);
    back.StrokeLine(13, 15, 19, 21, 1.8f, kInk);
    back.Text(L"返回", 14, false, 38, 15, kInk);
    ok &= Save(back, "res/mainWnd/backBtn" + n + ".png");

    Canvas browse(81, 36);
    browse.FillRoundRect(0, 0, 81, 36, 4, fill);
    browse.Text(L"浏览", 16, false, 40.5f, 18, kWhite);
    ok &= Save(browse, "res/mainWnd/chDirBtn" + n + ".png");
  }
  return ok;
}

bool SmallPieces() {
  bool ok = true;
  for (int state = 1; state <= 2; ++state) {
    Canvas chevron(16, 16);
    const Color ink = state == 1 ? Rgb(0x606178) : kInk;
    chevron.StrokeLine(4, 6, 8, 10, 1.5f, ink);
    chevron.StrokeLine(8, 10, 12, 6, 1.5f, ink);
    ok &= Save(chevron, "res/mainWnd/customeBtn" + std::to_string(state) + ".png");
  }
  Canvas unchecked(15, 14);
  unchecked.FillRoundRect(0.5f, 0, 14.5f, 14, 3, kWhite);
  unchecked.StrokeRoundRect(0.5f, 0, 14.5f, 14, 3, 1.2f, Rgb(0xB4BAC9));
  ok &= Save(unchecked, "res/mainWnd/Cb1.png");

  Canvas checked(15, 14);
  checked.FillRoundRect(0.5f, 0, 14.5f, 14, 3, kBrand);
  checked.StrokeLine(3.5f, 7, 6.5f, 10, 1.6f, kWhite);
  checked.StrokeLine(6.5f, 10, 11.5f, 4, 1.6f, kWhite);
  ok &= Save(checked, "res/mainWnd/Cb2.png");

  Canvas finished(80, 80);
  finished.FillCircle(40, 40, 39, Rgb(0x22B573, 0.15f));
  finished.FillCircle(40, 40, 31, Rgb(0x22B573));
  finished.StrokeLine(26, 41, 36, 51, 5, kWhite);
  finished.StrokeLine(36, 51, 55, 31, 5, kWhite);
  ok &= Save(finished, "res/mainWnd/finished.png");

  Canvas edit(340, 36);
  edit.FillRoundRect(0, 0, 340, 36, 4, kWhite);
  edit.StrokeRoundRect(0, 0, 340, 36, 4, 1, Rgb(0xC9D1E0));
  ok &= Save(edit, "res/mainWnd/installDirEdit.png");

  Canvas track(410, 8);
  track.FillRoundRect(0, 0, 410, 8, 4, Rgb(0xE1E7F2));
  ok &= Save(track, "res/mainWnd/installPrg1.png");

  Canvas bar(520, 8);
  bar.Fill([](float x, float y) { return std::hypot(std::max(0.0f, std::max(4 - x, x - 516)), y - 4) <= 4 || (x >= 4 && x <= 516); },
           [](float x, float) { return SkinArt::Mix(Rgb(0x5A9DFD), Rgb(0x1675FE), x / 520.0f); });
  ok &= Save(bar, "res/mainWnd/installPrg2.png");

  Canvas tip(120, 36);
  tip.FillRoundRect(0, 6, 120, 36, 4, Rgb(0x282A43, 0.9f));
  tip.Fill([](float x, float y) { return y >= 0 && y <= 6.5f && std::fabs(x - 22) <= 6 - y; }, Rgb(0x282A43, 0.9f));
  tip.Text(L"请先同意用户协议", 12, false, 60, 21, kWhite);
  ok &= Save(tip, "res/mainWnd/tipLbl.png");
  return ok;
}

// 25 frames of a spinner: a track ring, a rotating arc with a tail, and the
// product mark in the middle.
bool AnimationFrames() {
  bool ok = true;
  char name[64];
  for (int frame = 0; frame < 25; ++frame) {
    Canvas canvas(200, 200);
    canvas.FillCircle(100, 100, 96, Rgb(0xFFFFFF, 0.55f));
    canvas.StrokeArc(100, 100, 80, 10, 0, 360, Rgb(0xE1E7F2));
    // A 110-degree arc that fades in from its tail to its head.
    const float start = frame * (360.0f / 25.0f) - 90;
    const float sweep = 110;
    auto fromTail = [start](float x, float y) {
      float angle = std::atan2(y - 100, x - 100) * 180 / 3.14159265f - start;
      while (angle < 0) angle += 360;
      while (angle >= 360) angle -= 360;
      return angle;
    };
    canvas.Fill([&](float x, float y) { return std::fabs(std::hypot(x - 100, y - 100) - 80) <= 5 && fromTail(x, y) <= sweep; },
                [&](float x, float y) {
                  // A pixel centre just behind the tail wraps to ~360 degrees: treat it as the tail.
                  const float angle = fromTail(x, y);
                  return Rgb(0x1675FE, 0.1f + 0.9f * (angle > sweep ? 0.0f : angle) / sweep);
                });
    const float head = (start + sweep) * 3.14159265f / 180;
    canvas.FillCircle(100 + 80 * std::cos(head), 100 + 80 * std::sin(head), 5, kBrand);
    const float pulse = 0.92f + 0.08f * std::sin(frame * 2 * 3.14159265f / 25);
    ProductMark(canvas, 100, 100, 70 * pulse);
    std::snprintf(name, sizeof name, "res/mainWnd/installBtnAnimate/%03d.png", frame);
    ok &= Save(canvas, name);
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: skin-art OUTDIR\n");
    return 2;
  }
  outDir = argv[1];
  const bool ok = TitleButtons() && DialogIcons() && Backgrounds() && Logo() && WideButtons() && SmallPieces() &&
                  AnimationFrames();
  if (!ok) return 1;
  std::printf("skin-art: %d images\n", written);
  return 0;
}
