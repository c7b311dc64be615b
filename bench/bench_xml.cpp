// Parsing speed of the XML document reader against pugixml, measured in the
// same run on the same documents: typical box replies (a few hundred bytes
// to 4 KB) and synthetic documents of 1 MB and 10 MB. Each document is
// parsed into a fresh document object, as a reply parser does. The reader
// gets the UTF-16 text it is given by its callers; pugixml gets the UTF-8
// bytes, its own fastest input. Next to the reader alone runs the road of a
// reply in the program: the UTF-8 reply decoded by the reply decoder, then
// parsed. After the table, the time ratio of each to pugixml is printed for
// each document, and the growth from 1 MB to 10 MB.
//
// The allocator is told to keep freed memory in the process: otherwise
// every large document's memory goes back to the system when it is freed
// and comes back as fresh pages, and page faults rather than parsing
// dominate the larger documents, for pugixml and the reader alike.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <pugixml.hpp>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "nas/replies/utf8_reply_decoder.h"
#include "nas/xml/xml_document.h"
#include "platform/text_codec.h"
#include "ratio_line.h"

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

// The road of a reply in the program: the UTF-8 reply decoded, then parsed.
void DecodeAndParseWithReader(benchmark::State &state, const Sample &sample) {
  if (!CXmlDocument().Parse(DecodeUtf8Reply(sample.utf8))) {
    state.SkipWithError("the decoded document is not well formed");
    return;
  }
  for (auto _ : state) {
    CXmlDocument doc;
    benchmark::DoNotOptimize(doc.Parse(DecodeUtf8Reply(sample.utf8)));
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
    std::printf("\nCPU time / pugixml CPU time\n");
    for (const Sample &sample : Samples()) {
      for (const char *subject : {"reader", "reply_path"}) {
        const double ratio =
            Ratio(std::string(subject) + "/" + sample.name, "pugixml/" + sample.name);
        if (ratio > 0) {
          std::printf("  %-10s %-22s %6.2f\n", subject, sample.name.c_str(), ratio);
        }
      }
    }
    for (const char *subject : {"reader", "reply_path"}) {
      for (const char *size : {"1MB", "10MB"}) {
        const std::string name = std::string("synthetic_") + size;
        const double ratio = Ratio(std::string(subject) + "/" + name, "pugixml/" + name);
        if (ratio > 0) {
          const std::string what = std::string("XML ") + subject + " / pugixml, " + size;
          bench::PrintRatio(what.c_str(), ratio, 1.5);
        }
      }
      const double growth =
          Ratio(std::string(subject) + "/synthetic_10MB", std::string(subject) + "/synthetic_1MB");
      if (growth > 0) {
        const std::string what = std::string("XML ") + subject + " growth 1 MB -> 10 MB";
        bench::PrintRatio(what.c_str(), growth, 11.0);
      }
    }
  }

private:
  // Time of `over` / time of `under`; 0 when either is missing.
  double Ratio(const std::string &over, const std::string &under) const {
    const auto top = m_times.find(over);
    const auto bottom = m_times.find(under);
    if (top == m_times.end() || bottom == m_times.end() || bottom->second <= 0) {
      return 0;
    }
    return top->second / bottom->second;
  }

  std::map<std::string, double> m_times;
  std::set<std::string> m_medians;
};

} // namespace

int main(int argc, char **argv) {
  // Freed memory stays with the process: no large block is handed back to
  // the system and fetched again as fresh pages in the next iteration.
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_TOP_PAD, 64 << 20);
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
    benchmark::RegisterBenchmark(("reply_path/" + sample.name).c_str(), DecodeAndParseWithReader,
                                 sample);
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
