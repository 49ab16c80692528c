// One "Refresh" of the font importer at its largest common use: the 95
// characters from blank to "~" at 44 points on a 512 x 512 texture
// (fontconfig lookup, rasterising, layout and the preview), and the save's
// encoding of that texture as a PNG. Goal: a refresh under 100 ms, so that
// the dialog answers at once.

#include <benchmark/benchmark.h>

#include "fontimport/CFontImporter.h"
#include "platform/files/CPngWriter.h"

namespace {

CFontImporter LargeFont() {
    CFontImporter importer;
    importer.Settings().faceName = "Liberation Sans";
    importer.Settings().pointSize = 44;
    importer.Settings().textureSize = 512;
    return importer;
}

void BM_Build95CharactersAt44PointsOn512(benchmark::State& state) {
    CFontImporter importer = LargeFont();
    for (auto _ : state) {
        const SFontImportResult result = importer.Build();
        if (!result.ok) {
            state.SkipWithError(result.error.c_str());
            break;
        }
    }
    benchmark::DoNotOptimize(importer.GetBitmaps().GetMask().data());
}
BENCHMARK(BM_Build95CharactersAt44PointsOn512)->Unit(benchmark::kMillisecond);

void BM_EncodeTheTextureOf512(benchmark::State& state) {
    CFontImporter importer = LargeFont();
    if (!importer.Build().ok) {
        state.SkipWithError("the font cannot be built");
        return;
    }
    std::vector<std::uint8_t> texture;
    importer.GetBitmaps().ComposeTexture(texture);
    CPngWriter png;
    for (auto _ : state) {
        benchmark::DoNotOptimize(png.Encode(512, 512, texture));
    }
    state.counters["bytes"] = static_cast<double>(png.GetBytes().size());
}
BENCHMARK(BM_EncodeTheTextureOf512)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
