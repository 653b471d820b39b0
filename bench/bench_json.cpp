// Reading and writing a recent list of 10 000 entries with the project's own
// binder, RapidJSON (DOM plus copying into the records) and nlohmann::json.

#include "projectfilelist.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdio>
#include <random>
#include <string>

using vexa::projectfilemgr::STProjectFile;
using vexa::projectfilemgr::STProjectFileList;

namespace {

STProjectFileList makeList(std::size_t count)
{
    static const char *const users[] = {"alice", "bob", "operator", "Studio", "led-admin"};
    static const char *const plainNames[] = {"Stadium ribbon", "Lobby wall", "Concert main", "Mall atrium",
                                             "Night show 2024", "Roadside billboard", "stage_left", "Test pattern"};
    // Names a third of the entries carry: accents, CJK, Cyrillic, an emoji.
    static const char *const wideNames[] = {"Caf\xC3\xA9 fa\xC3\xA7" "ade", "\xE5\xA4\xA7\xE5\xB1\x8F\xE5\xB9\x95 \xE4\xB8\xBB\xE8\xA7\x86\xE8\xA7\x89",
                                            "\xD0\xAD\xD0\xBA\xD1\x80\xD0\xB0\xD0\xBD \xD0\xB7\xD0\xB0\xD0\xBB\xD0\xB0",
                                            "Show \xF0\x9F\x8E\x86 finale", "M\xC3\xBCnchen Arena",
                                            "\xEC\x84\x9C\xEC\x9A\xB8 \xEA\xB4\x91\xEC\x9E\xA5"};
    std::mt19937 rng(7);
    STProjectFileList list;
    list.projects.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        STProjectFile f;
        const std::string user = users[rng() % 5];
        f.strProfileName = (i % 3 == 2) ? wideNames[rng() % 6] : plainNames[rng() % 8];
        f.strProfileName += " " + std::to_string(i);
        if (i % 2 == 0) {
            f.strProfilePath = "C:\\Users\\" + user + "\\Documents\\LED Projects\\" + f.strProfileName + ".ptr7";
            f.strImagePath = "C:\\Users\\" + user + "\\AppData\\Roaming\\Image\\" + std::to_string(rng()) + ".png";
        } else {
            f.strProfilePath = "/home/" + user + "/Projects/led/" + f.strProfileName + ".ptr7";
            f.strImagePath = "/home/" + user + "/.local/share/Image/" + std::to_string(rng()) + ".png";
        }
        f.isDamageFile = rng() % 17 == 0;
        list.projects.push_back(std::move(f));
    }
    return list;
}

const STProjectFileList &sampleList()
{
    static const STProjectFileList list = makeList(10000);
    return list;
}

std::string rapidText(const STProjectFileList &list);
std::string nlohmannText(const STProjectFileList &list);

const std::string &sampleText()
{
    static const std::string text = ajson::toJson(sampleList());
    return text;
}

void setBytes(benchmark::State &state, std::size_t bytes)
{
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}

// --- reading ---------------------------------------------------------------

void BM_Read_Ajson(benchmark::State &state)
{
    const std::string &text = sampleText();
    for (auto _ : state) {
        STProjectFileList list;
        ajson::loadFromBuffer(list, text.data(), text.size());
        benchmark::DoNotOptimize(list.projects.data());
    }
    setBytes(state, text.size());
}

std::string rapidString(const rapidjson::Value &v)
{
    return v.IsString() ? std::string(v.GetString(), v.GetStringLength()) : std::string();
}

void BM_Read_RapidJSON(benchmark::State &state)
{
    const std::string &text = sampleText();
    for (auto _ : state) {
        rapidjson::Document doc;
        doc.Parse(text.c_str()); // the zero-terminated form is RapidJSON's fastest path
        STProjectFileList list;
        const auto found = doc.FindMember("projects");
        if (found != doc.MemberEnd() && found->value.IsArray()) {
            list.projects.reserve(found->value.Size());
            for (const auto &item : found->value.GetArray()) {
                STProjectFile f;
                for (const auto &m : item.GetObject()) {
                    const char *key = m.name.GetString();
                    if (std::strcmp(key, "strProfileName") == 0)
                        f.strProfileName = rapidString(m.value);
                    else if (std::strcmp(key, "strProfilePath") == 0)
                        f.strProfilePath = rapidString(m.value);
                    else if (std::strcmp(key, "strImagePath") == 0)
                        f.strImagePath = rapidString(m.value);
                    else if (std::strcmp(key, "isDamageFile") == 0)
                        f.isDamageFile = m.value.IsTrue();
                }
                list.projects.push_back(std::move(f));
            }
        }
        benchmark::DoNotOptimize(list.projects.data());
    }
    setBytes(state, text.size());
}

void BM_Read_Nlohmann(benchmark::State &state)
{
    const std::string &text = sampleText();
    for (auto _ : state) {
        const nlohmann::json doc = nlohmann::json::parse(text);
        STProjectFileList list;
        const auto found = doc.find("projects");
        if (found != doc.end() && found->is_array()) {
            list.projects.reserve(found->size());
            for (const auto &item : *found) {
                STProjectFile f;
                f.strProfileName = item.value("strProfileName", std::string());
                f.strProfilePath = item.value("strProfilePath", std::string());
                f.strImagePath = item.value("strImagePath", std::string());
                f.isDamageFile = item.value("isDamageFile", false);
                list.projects.push_back(std::move(f));
            }
        }
        benchmark::DoNotOptimize(list.projects.data());
    }
    setBytes(state, text.size());
}

// --- writing (same ASCII-only output from all three) -------------------------

void BM_Write_Ajson(benchmark::State &state)
{
    const STProjectFileList &list = sampleList();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = ajson::toJson(list);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    setBytes(state, bytes);
}

std::string rapidText(const STProjectFileList &list)
{
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer, rapidjson::UTF8<>, rapidjson::ASCII<>> w(buffer);
    w.StartObject();
    w.Key("projects", 8);
    w.StartArray();
    for (const STProjectFile &f : list.projects) {
        w.StartObject();
        w.Key("strProfileName", 14);
        w.String(f.strProfileName.data(), rapidjson::SizeType(f.strProfileName.size()));
        w.Key("strProfilePath", 14);
        w.String(f.strProfilePath.data(), rapidjson::SizeType(f.strProfilePath.size()));
        w.Key("strImagePath", 12);
        w.String(f.strImagePath.data(), rapidjson::SizeType(f.strImagePath.size()));
        w.Key("isDamageFile", 12);
        w.Bool(f.isDamageFile);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize());
}

void BM_Write_RapidJSON(benchmark::State &state)
{
    const STProjectFileList &list = sampleList();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = rapidText(list);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    setBytes(state, bytes);
}

std::string nlohmannText(const STProjectFileList &list)
{
    nlohmann::ordered_json projects = nlohmann::ordered_json::array();
    for (const STProjectFile &f : list.projects) {
        projects.push_back({{"strProfileName", f.strProfileName},
                            {"strProfilePath", f.strProfilePath},
                            {"strImagePath", f.strImagePath},
                            {"isDamageFile", f.isDamageFile}});
    }
    nlohmann::ordered_json doc;
    doc["projects"] = std::move(projects);
    return doc.dump(-1, ' ', true);
}

void BM_Write_Nlohmann(benchmark::State &state)
{
    const STProjectFileList &list = sampleList();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = nlohmannText(list);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    setBytes(state, bytes);
}

} // namespace

BENCHMARK(BM_Read_Ajson)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read_RapidJSON)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read_Nlohmann)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write_Ajson)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write_RapidJSON)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write_Nlohmann)->Unit(benchmark::kMicrosecond);

static std::string lower(std::string s)
{
    for (char &c : s)
        c = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    return s;
}

int main(int argc, char **argv)
{
    // The three writers must produce the same text, or the comparison is unfair
    // (nlohmann::json writes its hex digits in lower case).
    const std::string &ours = sampleText();
    if (rapidText(sampleList()) != ours || lower(nlohmannText(sampleList())) != lower(ours)) {
        std::fprintf(stderr, "writers disagree on the sample list\n");
        return 1;
    }
    std::fprintf(stderr, "sample list: %zu entries, %zu bytes\n", sampleList().projects.size(), ours.size());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
