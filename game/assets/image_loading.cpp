// image_loading.cpp - the decoding thread and the images made from its pixmaps.
#include "game/assets/image_loading.h"

#include <cstdlib>
#include <exception>
#include <iterator>
#include <thread>
#include <vector>

#include "game/assets/sheet_cut.h"
#include "graphics/font.h"
#include "graphics/image_commands.h"
#include "graphics/pixmap_loader.h"

namespace {

// The picture the sheet is painted on, as the game's display is.
constexpr int kPictureWidth = 640, kPictureHeight = 480;

// The loader's own state, apart from the game's: its thread writes part of it. Refilled by each
// StartLoadingImages; the images go to `assets` when the game thread takes them.
struct ImageLoader {
  // Written by the thread only until it is joined; read by the game thread after.
  struct Loaded {
    std::vector<std::vector<Ref<TPixmap>>> frames;  // per kSheetImages row, per frame
    Ref<TPixmap> logo;
  } loaded;
  MaskColour mask;  // the mask colour when the thread started
  std::thread thread;
  Ref<TImage> logo;
} loader;

// Every image's frames cut from the sheet as painted on the picture, into `loaded`.
void CutSheet(const Ref<TImage>& sheet) {
  const Ref<TPixmap> screen = PaintedSheet(sheet, kPictureWidth, kPictureHeight);
  loader.loaded.frames.clear();
  for (const SheetImage& row : kSheetImages)
    loader.loaded.frames.push_back(CutSheetFrames(row, screen, loader.mask));
}

void LoadAll() {
  try {
    CutSheet(TImage::Load(LoadPixmap("incbin::zumbrix_3d.png"), IMAGE_MASKED | IMAGE_DYNAMIC,
                          loader.mask.r, loader.mask.g, loader.mask.b));
  } catch (const std::exception&) {
    loader.loaded.frames.clear();  // made on the game thread instead, where the error is reported
  }
  try {
    loader.loaded.logo = LoadPixmap("incbin::vxlogo.png");
  } catch (const std::exception&) {
    loader.loaded.logo.reset();
  }
}

// A start-up that fails while the thread runs ends the program with it still decoding.
void JoinLoader() {
  if (loader.thread.joinable()) loader.thread.join();
}

}  // namespace

void StartLoadingImages() {
  if (loader.thread.joinable()) return;
  QueryMaskColor(loader.mask.r, loader.mask.g, loader.mask.b);
  PixmapLoaders();  // the loaders registered here, not raced for by the thread
  static const bool joined_at_exit = std::atexit(JoinLoader) == 0;
  (void)joined_at_exit;
  loader.loaded = ImageLoader::Loaded{};
  loader.thread = std::thread(LoadAll);
}

void FinishLoadingImages() {
  if (loader.thread.joinable()) {
    loader.thread.join();
  } else {
    QueryMaskColor(loader.mask.r, loader.mask.g, loader.mask.b);
    LoadAll();
  }
  if (loader.loaded.frames.size() != std::size(kSheetImages)) {
    // The thread could not make them: the same work here, where a failure reaches the player.
    CutSheet(ImportImage("incbin::zumbrix_3d.png", -1));
  }
  std::vector<Ref<TImage>> images;
  for (std::size_t r = 0; r < std::size(kSheetImages); ++r) {
    const SheetImage& row = kSheetImages[r];
    SetAutoCenterHandle(row.centred);
    Ref<TImage> image = NewImage(row.width, row.height, row.frames);
    for (int i = 0; i < row.frames; ++i) image->SetPixmap(i, loader.loaded.frames[r][i]);
    images.push_back(image);
    *SheetImageGlobals()[r] = image;
  }
  SetAutoCenterHandle(false);
  // Every texture made now, so that no screen's first frame waits for its images; and all in one
  // where the driver can, so that the sprites of a frame draw without switching texture.
  MakeFramesTogether(images);
  PrepareImageFont(DefaultImageFont());  // the title's and pause screen's text
  loader.logo = loader.loaded.logo ? ImportImage(loader.loaded.logo, -1) : nullptr;
  if (loader.logo) {
    CenterImageHandle(loader.logo);
    loader.logo->Frame(0);
  }
  loader.loaded = ImageLoader::Loaded{};
}

Ref<TImage> TakeSplashLogo() {
  Ref<TImage> taken = loader.logo;
  loader.logo.reset();
  return taken;
}
