// The whole-text commands on a 10 MB page, the size where a user notices.
// Goals: entity conversion well under a second; the code check, stripping
// codes and upper-casing codes each under 100 ms.
#include "code_check.h"
#include "code_cleanup.h"
#include "entities.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <string_view>

namespace {

// A generated page of about 10 MB in about 150,000 CR LF lines: tables, links,
// fonts, paragraphs with Danish text (Windows-1252), comments and scripts.
std::string makePage() {
    static constexpr std::array<std::string_view, 14> kLines{
        "<TR><TD ALIGN=\"left\" VALIGN=\"top\"><A HREF=\"sider/bl\xE5""b\xE6r.htm\">Bl\xE5""b\xE6r</A></TD></TR>",
        "<p>R\xF8""dgr\xF8""d med fl\xF8""de er en dansk ret, og den smager godt &amp; s\xF8""dt.</p>",
        "<font face=\"Verdana,Arial\" size=\"2\"><b>\xC6""bleskiver</b> og <i>gl\xF8gg</i></font><br>",
        "<td class=menu><a href=index.htm target=_top>Forside</a> | <a href=\"om.htm\">Om os</a></td>",
        "<!-- Her begynder afsnittet om \xE5rets aktiviteter i foreningen -->",
        "<H2>\xC5rsm\xF8""de p\xE5 S\xF8nderborg Slot</H2>",
        "<IMG SRC=\"billeder/slot.jpg\" WIDTH=\"320\" HEIGHT=\"240\" BORDER=\"0\" ALT=\"Slottet\">",
        "<ul><li>Punkt et</li><li>Punkt to med \xA9 og \xAE</li></ul>",
        "Almindelig tekst uden koder, men med \xE6, \xF8 og \xE5 og \xC6, \xD8 og \xC5.",
        "<script language=\"JavaScript\">if (a < b) { document.write('<b>x</b>'); }</script>",
        "<TABLE WIDTH=\"100%\" CELLPADDING=\"2\" CELLSPACING=\"0\" BGCOLOR=\"#FFFFCC\">",
        "<BR>",
        "<TR><TD>\xC6""ble</TD><TD>12,50 kr.</TD></TR>",
        "</TABLE><P ALIGN=\"JUSTIFY\">Afsnit med lige margener og en <EM>vigtig</EM> pointe.</P>",
    };
    std::string page = "<HTML>\r\n<HEAD>\r\n<TITLE>Stor side</TITLE>\r\n</HEAD>\r\n<BODY>\r\n";
    std::mt19937 random(2024);
    while (page.size() < 10 * 1000 * 1000) {
        page += kLines[random() % kLines.size()];
        page += "\r\n";
    }
    page += "</BODY>\r\n</HTML>\r\n";
    return page;
}

const std::string& page() {
    static const std::string text = makePage();
    return text;
}

const std::string& encodedPage() {
    static const std::string text = morvel::encodeEntities(page());
    return text;
}

template <typename Convert>
void run(benchmark::State& state, const std::string& input, Convert convert) {
    for (auto _ : state) {
        auto result = convert(input);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
    state.counters["lines"] = static_cast<double>(std::count(input.begin(), input.end(), '\n'));
}

void BM_EncodeEntities(benchmark::State& state) {
    run(state, page(), [](const std::string& t) { return morvel::encodeEntities(t); });
}
void BM_DecodeEntities(benchmark::State& state) {
    if (morvel::decodeEntities(encodedPage()) != page()) state.SkipWithError("decoding lost text");
    run(state, encodedPage(), [](const std::string& t) { return morvel::decodeEntities(t); });
}
void BM_CheckHtmlCode(benchmark::State& state) {
    run(state, page(), [](const std::string& t) { return morvel::checkHtmlCode(t); });
}
void BM_StripCodes(benchmark::State& state) {
    run(state, page(), [](const std::string& t) { return morvel::stripCodes(t); });
}
void BM_CodesToUpperCase(benchmark::State& state) {
    run(state, page(), [](const std::string& t) { return morvel::codesToUpperCase(t); });
}

BENCHMARK(BM_EncodeEntities)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeEntities)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckHtmlCode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripCodes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodesToUpperCase)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
