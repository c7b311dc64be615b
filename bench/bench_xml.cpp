// Parsing speed of the XML document reader against pugixml, measured in the
// same run on the same documents: typical box replies (a few hundred bytes
// to 4 KB) and synthetic documents of 1 MB and 10 MB. Each document is
// parsed into a fresh document object, as a reply parser does. The reader
// gets the UTF-16 text it is given by its callers; pugixml gets the UTF-8
// bytes, its own fastest input. After the table, the time ratio of the
// reader to pugixml is printed for each document, and the growth from
// 1 MB to 10 MB.

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "nas/xml/xml_document.h"
#include "platform/text_codec.h"

using namespace corvesta;

namespace {

struct Sample {
  std::string name;
  std::string utf8;
  std::u16string utf16;
};

std::string Reply(const std::string &body) {
  return "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n\r\n"
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" +
         body;
}

std::string WizardReply() {
  return Reply("<config>\n"
               "\t<lan>\n\t\t<dhcp_enable>0</dhcp_enable>\n\t\t<ip>192.168.1.20</ip>\n"
               "\t\t<netmask>255.255.255.0</netmask>\n\t\t<gateway>192.168.1.1</gateway>\n"
               "\t\t<dns1>192.168.1.1</dns1>\n\t\t<dns2>0.0.0.0</dns2>\n\t</lan>\n"
               "\t<system>\n\t\t<name>NAS-Caf&#233;</name>\n\t\t<workgroup>WORKGROUP</workgroup>\n"
               "\t\t<description>Shelf &amp; backups</description>\n"
               "\t\t<timezone>35</timezone>\n\t</system>\n"
               "</config>\n");
}

std::string VolumeReply() {
  std::string body = "<volume_info>";
  for (int volume = 1; volume <= 2; ++volume) {
    body += "<item><volume>" + std::to_string(volume) +
            "</volume><total_size>1922076968</total_size><use_size>20564</use_size></item>";
  }
  return Reply(body + "</volume_info>");
}

std::string ShareReply() {
  std::string body = "<share_info>\n";
  for (int share = 1; body.size() < 4000; ++share) {
    body += "  <item>Volume_" + std::to_string(share) + " &amp; Backup</item>\n";
  }
  return Reply(body + "</share_info>\n");
}

std::string Synthetic(std::size_t bytes) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<list>\n";
  for (int i = 0; text.size() < bytes; ++i) {
    const std::string n = std::to_string(i);
    text += "  <item id=\"" + n + "\" state='ok'>\n    <name>Share " + n +
            " &amp; more</name>\n    <size>" +
            std::to_string(1000003ULL * static_cast<unsigned>(i) % 999999937ULL) +
            "</size>\n    <note><![CDATA[free text <x>]]></note>\n    <flag/>\n  </item>\n";
  }
  return text + "</list>\n";
}

std::vector<Sample> &Samples() {
  static std::vector<Sample> samples;
  return samples;
}

void ParseWithReader(benchmark::State &state, const Sample &sample) {
  if (!CXmlDocument().Parse(sample.utf16)) {
    state.SkipWithError("the reader found the document not well formed");
    return;
  }
  for (auto _ : state) {
    CXmlDocument doc;
    benchmark::DoNotOptimize(doc.Parse(sample.utf16));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(sample.utf8.size()));
}

void ParseWithPugixml(benchmark::State &state, const Sample &sample) {
  pugi::xml_document check;
  if (!check.load_buffer(sample.utf8.data(), sample.utf8.size(), pugi::parse_default,
                         pugi::encoding_utf8)) {
    state.SkipWithError("pugixml did not parse the document");
    return;
  }
  for (auto _ : state) {
    pugi::xml_document doc;
    benchmark::DoNotOptimize(doc.load_buffer(sample.utf8.data(), sample.utf8.size(),
                                             pugi::parse_default, pugi::encoding_utf8));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(sample.utf8.size()));
}

// The whole road of a reply: 8-bit text converted, then parsed.
void ConvertAndParseWithReader(benchmark::State &state, const Sample &sample) {
  for (auto _ : state) {
    CXmlDocument doc;
    benchmark::DoNotOptimize(doc.Parse(Utf8ToUtf16(sample.utf8)));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(sample.utf8.size()));
}

// Shows the table as usual and keeps each run's time for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run> &runs) override {
    // CPU time: on a shared machine the wall clock also counts other
    // processes. With repetitions, the median stands for the runs.
    for (const Run &run : runs) {
      if (run.error_occurred) {
        continue;
      }
      if (run.run_type == Run::RT_Iteration && m_medians.count(run.run_name.str()) == 0) {
        m_times[run.run_name.str()] = run.GetAdjustedCPUTime();
      } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        m_times[run.run_name.str()] = run.GetAdjustedCPUTime();
        m_medians.insert(run.run_name.str());
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    std::printf("\nreader CPU time / pugixml CPU time (goal for 1 MB and 10 MB: at most 1.5)\n");
    for (const Sample &sample : Samples()) {
      const auto reader = m_times.find("reader/" + sample.name);
      const auto pugi = m_times.find("pugixml/" + sample.name);
      if (reader != m_times.end() && pugi != m_times.end() && pugi->second > 0) {
        std::printf("  %-22s %6.2f\n", sample.name.c_str(), reader->second / pugi->second);
      }
    }
    const auto small = m_times.find("reader/synthetic_1MB");
    const auto large = m_times.find("reader/synthetic_10MB");
    if (small != m_times.end() && large != m_times.end() && small->second > 0) {
      std::printf("reader 10 MB CPU time / 1 MB CPU time (goal: at most 11): %.2f\n",
                  large->second / small->second);
    }
  }

private:
  std::map<std::string, double> m_times;
  std::set<std::string> m_medians;
};

} // namespace

int main(int argc, char **argv) {
  const std::pair<const char *, std::string> documents[] = {
      {"wizard_reply", WizardReply()},         {"volume_reply", VolumeReply()},
      {"share_reply_4KB", ShareReply()},       {"synthetic_1MB", Synthetic(1 << 20)},
      {"synthetic_10MB", Synthetic(10 << 20)},
  };
  for (const auto &[name, utf8] : documents) {
    Samples().push_back(Sample{name, utf8, Utf8ToUtf16(utf8)});
  }
  for (const Sample &sample : Samples()) {
    benchmark::RegisterBenchmark(("pugixml/" + sample.name).c_str(), ParseWithPugixml, sample);
    benchmark::RegisterBenchmark(("reader/" + sample.name).c_str(), ParseWithReader, sample);
    benchmark::RegisterBenchmark(("reader_from_utf8/" + sample.name).c_str(),
                                 ConvertAndParseWithReader, sample);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
