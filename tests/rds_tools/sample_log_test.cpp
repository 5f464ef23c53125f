// fmr-plot's reading of benchora's measurement CSV: records as RFC 4180 has
// them, formula-guarded cells, the numbers of cells, the series, checks and
// limits read from a file, and the numbers that refuse a file.
#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "fmr-plot/cell_number.h"
#include "fmr-plot/cli.h"
#include "fmr-plot/csv_records.h"
#include "fmr-plot/sample_log.h"
#include "tool_run.h"

namespace {

using fmrplot::CellKind;

// Each record as "LINE:field|field" (a trailing "!" when a quote is left
// open), one a line.
std::string Records(const std::string& text, size_t first_line = 1) {
  fmrplot::CsvReader reader(text, first_line);
  std::string out;
  while (const auto record = reader.Next()) {
    out += std::to_string(record->line) + ":";
    for (size_t i = 0; i < record->fields.size(); ++i)
      out += (i == 0 ? "" : "|") + record->fields[i];
    out += record->unclosed ? "!\n" : "\n";
  }
  return out;
}

TEST(SampleLogTest, RecordsFollowRfc4180) {
  const std::pair<std::string, std::string> cases[] = {
      {"a,b\nc,d", "1:a|b\n2:c|d\n"},
      {"a,b\r\nc,d\r\n", "1:a|b\n2:c|d\n"},
      {"\"x,y\",\"say \"\"hi\"\"\",\"\"\n", "1:x,y|say \"hi\"|\n"},
      // A quoted line break belongs to its field; the next record's line counts it.
      {"1,\"two\nlines\",3\r\n4,\"cr\r\nlf\"\n5\n", "1:1|two\nlines|3\n3:4|cr\r\nlf\n5:5\n"},
      {"\n,\n", "1:\n2:|\n"},
      {"a\"b,\"c\"d,e\r", "1:a\"b|cd|e\n"},
      {"lone\rcr,x\n", "1:lone\rcr|x\n"},
      {"1,\"open\n2,3\n", "1:1|open\n2,3\n!\n"},
  };
  for (const auto& [text, records] : cases) EXPECT_EQ(Records(text), records) << text;
  EXPECT_EQ(Records("a\nb", 4), "4:a\n5:b\n");

  const std::pair<const char*, const char*> guards[] = {
      {"'=1+1", "=1+1"}, {"'+3", "+3"},   {"'-x", "-x"},    {"'@a", "@a"},
      {"'\tt", "\tt"},   {"'\rr", "\rr"}, {"'abc", "'abc"}, {"''=", "''="},
      {"'", "'"},        {"-5", "-5"},    {"=1", "=1"},
  };
  for (const auto& [cell, read] : guards) EXPECT_EQ(fmrplot::WithoutFormulaGuard(cell), read);
}

TEST(SampleLogTest, CellNumbersAreWholeDecimalNumbers) {
  const std::tuple<const char*, CellKind, double> cases[] = {
      // clang-format off
      {"30", CellKind::kNumber, 30}, {"-12.5", CellKind::kNumber, -12.5},
      {"+3", CellKind::kNumber, 3}, {".5", CellKind::kNumber, 0.5}, {"5.", CellKind::kNumber, 5},
      {"95.4e6", CellKind::kNumber, 95.4e6}, {"1E+2", CellKind::kNumber, 100},
      {"1e-999", CellKind::kNumber, 0}, {"-0", CellKind::kNumber, 0},
      {"1e999", CellKind::kNotFinite, 0}, {"-1e999", CellKind::kNotFinite, 0},
      {"inf", CellKind::kNotFinite, 0}, {"-INF", CellKind::kNotFinite, 0},
      {"+Infinity", CellKind::kNotFinite, 0}, {"nan", CellKind::kNotFinite, 0},
      {"NaN(123)", CellKind::kNotFinite, 0},
      {"0x1A", CellKind::kText, 0}, {" 3", CellKind::kText, 0}, {"3 ", CellKind::kText, 0},
      {"e5", CellKind::kText, 0}, {"-", CellKind::kText, 0}, {".", CellKind::kText, 0},
      {"1e", CellKind::kText, 0}, {"1e+", CellKind::kText, 0}, {"--5", CellKind::kText, 0},
      {"weak", CellKind::kText, 0}, {"", CellKind::kText, 0}, {"infinit", CellKind::kText, 0},
      {"1.2.3", CellKind::kText, 0}, {"12dB", CellKind::kText, 0},
      // clang-format on
  };
  for (const auto& [cell, kind, value] : cases) {
    const fmrplot::CellNumber read = fmrplot::ReadCellNumber(cell);
    EXPECT_EQ(read.kind, kind) << cell;
    EXPECT_EQ(read.value, value) << cell;
  }
}

std::string Point(const fmrplot::SamplePoint& p) {
  char text[64];
  std::snprintf(text, sizeof text, " %g=%g%s", p.time_ms, p.value, p.failed ? "!" : "");
  return text;
}

// The series of a log, one a line: name [unit], the samples and checks as
// time=value (! failed) and the limit lines.
std::string Dump(const fmrplot::SampleLog& log) {
  std::string out;
  for (const fmrplot::SampleSeries& s : log.series) {
    out += s.name + " [" + s.unit + "]";
    for (const auto& p : s.points) out += Point(p);
    out += " /";
    for (const auto& p : s.checks) out += Point(p);
    out += " /";
    for (const auto& l : s.limits) {
      char text[64];
      std::snprintf(text, sizeof text, " %g%s%s%s", l.value, l.low ? "L" : "", l.high ? "H" : "",
                    l.equal ? "=" : "");
      out += text;
    }
    out += "\n";
  }
  out += "skipped:";
  for (const size_t line : log.skipped_lines) out += " " + std::to_string(line);
  return out +
         (log.error.empty() ? "" : "\nerror " + std::to_string(log.error_line) + ": " + log.error);
}

// The file benchora writes from now on: comment lines, the dut column,
// quoted names with line breaks and commas, guarded cells, one-sided and
// two-sided limits, text values and the other verdicts.
TEST(SampleLogTest, SeriesChecksAndLimitsOfAWholeFile) {
  const std::string csv =
      "\xEF\xBB\xBF# chip: gen2\r\n# dut: \"handset\r\n"
      "time_ms,name,value,unit,low,high,verdict,origin,dut\r\n"
      "1000,LERSSI,30,dBuV,,,,s.txt:5,handset-7\r\n"
      "1000,\"two\r\nlines, a comma\",-5,'=V,,,,s.txt:5,handset-7\r\n"
      "2000,LERSSI,'-weak,dBuV,,,,s.txt:5,handset-7\r\n"
      "2500,'=SUM(A1),7,,,,,s.txt:6,\r\n"
      "3000,LERSSI,24,dBuV,,,,s.txt:5,handset-7\r\n"
      "3000,LERSSI,41,dBuV,,,,s.txt:5,handset-7\r\n"
      "3500,LERSSI,12,dBuV,25,40,FAIL,s.txt:9,handset-7\r\n"
      "3600,LERSSI,26,dBuV,25,,PASS,s.txt:10,handset-7\r\n"
      "3700,LERSSI,STRONG,,,,PASS,s.txt:11,\r\n"
      "3800,LERSSI,,,,,ERROR,s.txt:12,\r\n"
      "3900,\"two\r\nlines, a comma\",-5,V,-5,-5,PASS,s.txt:13,\r\n"
      "4000,\"two\r\nlines, a comma\",-6,V,,,,s.txt:5,handset-7\r\n"
      "4100,Only checked,3,V,1,2,FAIL,s.txt:14,\r\n"
      "late,LERSSI,31,dBuV,,,,s.txt:5,\r\n"
      "5000,\"unclosed,1\r\n";
  EXPECT_EQ(Dump(fmrplot::ReadSampleLog(csv)),
            "LERSSI [dBuV] 1000=30 3000=24! 3000=41! / 3500=12! 3600=26 / 25L 40H\n"
            "two\r\nlines, a comma [=V] 1000=-5 4000=-6! / 3900=-5 / -5LH=\n"
            "=SUM(A1) [] 2500=7 / /\n"
            "skipped: 7 20 21");
  EXPECT_TRUE(fmrplot::LooksLikeSampleLog(csv));

  // The columns are found by name: the header of old, one reordered, one
  // with the needed columns alone; without one of them it is no such CSV.
  const std::pair<std::string, std::string> headers[] = {
      {"time_ms,name,value,unit,low,high,verdict,origin\n1,A,2,V,,,,o\n1,A,3,V,,2,FAIL,o\n",
       "A [V] 1=2 / 1=3! / 2H\nskipped:"},
      {"verdict,value,dut,name,time_ms\n,2,d,A,1\nPASS,3,d,A,1\n", "A [] 1=2 / 1=3 /\nskipped:"},
      {"time_ms,name,value\n1,A,2\n2,B\n", "A [] 1=2 / /\nskipped: 3"},
      {"#no blank\n#\ntime_ms,name,value\n1,A,2\n", "A [] 1=2 / /\nskipped:"},
      {"time_ms,name,unit\n1,A,2\n",
       "skipped:\nerror 0: not a measurement CSV (no header naming time_ms, name and value)"},
      {"# only a comment\n",
       "skipped:\nerror 0: not a measurement CSV (no header naming "
       "time_ms, name and value)"},
      {"time_ms,name,value\n1,A,x\n", "skipped: 2\nerror 0: no sample rows with a numeric value"},
  };
  for (const auto& [text, dump] : headers) {
    EXPECT_EQ(Dump(fmrplot::ReadSampleLog(text)), dump) << text;
    EXPECT_EQ(fmrplot::LooksLikeSampleLog(text), dump.find("not a measurement") == dump.npos);
  }
}

// A number no plot can place refuses the whole file, naming its line
// (counted over comment lines and quoted line breaks); nothing is written.
TEST(SampleLogTest, NumbersBeyondThePlotRefuseTheFile) {
  const std::string head =
      "# c\ntime_ms,name,value,unit,low,high,verdict,origin,dut\n"
      "1000,\"A\nB\",1,V,,,,o,\n";
  const std::pair<std::string, std::string> cases[] = {
      {"2000,A,inf,V,,,,o,", "value \"inf\" is not a finite number"},
      {"2000,A,NaN,V,,,,o,", "value \"NaN\" is not a finite number"},
      {"2000,A,1e999,V,,,,o,", "value \"1e999\" is not a finite number"},
      {"2000,A,'-inf,V,,,,o,", "value \"-inf\" is not a finite number"},
      {"2000,A,-1.000001e12,V,,,,o,", "value \"-1.000001e12\" is out of range (-1e12 to 1e12)"},
      {"2000,A,3,V,-inf,,PASS,o,", "low \"-inf\" is not a finite number"},
      {"2000,A,3,V,,2e12,FAIL,o,", "high \"2e12\" is out of range (-1e12 to 1e12)"},
      {"-5,A,3,V,,,,o,", "time_ms \"-5\" is out of range (0 to 1e12)"},
      {"1000000000001,A,3,V,,,,o,", "time_ms \"1000000000001\" is out of range (0 to 1e12)"},
      {"2000,A," + std::string(40, '9') + ",V,,,,o,",
       "value \"99999999999999999999999999999999...\" is out of range (-1e12 to 1e12)"},
  };
  for (const auto& [row, message] : cases) {
    const rdstest::RunResult run = rdstest::RunTool(
        &fmrplot::Run, {}, head + "1500,A,2,V,,,,o,\n" + row + "\n9000,A,1,V,,,,o,\n");
    EXPECT_EQ(run.status, 2) << row;
    EXPECT_EQ(run.err, "fmr-plot: <stdin>:6: " + message + "; nothing plotted\n");
    EXPECT_EQ(run.out, "");
  }
  // The edges themselves are plotted.
  const rdstest::RunResult edges = rdstest::RunTool(
      &fmrplot::Run, {}, head + "0,A,-1e12,V,,,,o,\n1000000000000,A,1e12,V,-1e12,1e12,PASS,o,\n");
  EXPECT_EQ(edges.status, 0) << edges.err;
  EXPECT_EQ(edges.out.find("nan"), std::string::npos);
}

}  // namespace
