#include "spacegroup/SpaceGroupRecord.h"

#include <string_view>

#include "platform/TextInput.h"
#include "platform/UserInterface.h"

namespace braxel {

namespace {

constexpr std::size_t kSymbolColumn = 18;

enum class Search { kFound, kFileNotFound, kNotFound, kRecordLimit, kBadRecord };

// The five numbers of a header line, read as a "%3d%3d%3d%3d%3d" scan, and the symbol from
// column 19 (empty on a shorter line). Returns how many numbers were read.
int ParseHeader(std::string_view line, SpaceGroupRecord& header) {
  std::string_view cursor = line;
  int* fields[] = {&header.number, &header.setting, &header.laueIndex, &header.centrosymmetric,
                   &header.codeCount};
  int read = 0;
  for (int* field : fields) {
    if (!ScanInt(cursor, *field, 3)) break;
    ++read;
  }
  const std::string_view text = WithoutLineEnd(line);
  header.symbol = text.size() > kSymbolColumn ? std::string(text.substr(kSymbolColumn)) : "";
  return read;
}

struct TableWalk {
  Search result = Search::kNotFound;
  std::string detail;  // what is wrong with a bad record
};

// Walks the table to the record of sgNumber and settingNumber. With readBody the condition and
// code lines of that record are read too.
TableWalk FindRecord(const std::string& tablePath, int sgNumber, int settingNumber, bool readBody,
                     SpaceGroupRecord& record) {
  LineReader reader(tablePath);
  if (!reader.IsOpen()) return {Search::kFileNotFound, {}};
  std::string line;
  for (int r = 1;; ++r) {
    if (r > kMaxTableRecords) return {Search::kRecordLimit, {}};
    if (!reader.ReadLine(line)) return {Search::kNotFound, {}};
    // A stray line would desynchronise every record after it, so it stops the search.
    if (ParseHeader(line, record) < 5) {
      const std::string_view text = WithoutLineEnd(line);
      return {Search::kBadRecord, FormatText("Space group record %d is not readable: %.*s !!!", r,
                                             static_cast<int>(text.size()), text.data())};
    }
    // A negative count would take code lines for headers; more codes than the run can hold
    // cannot be expanded.
    if (record.codeCount < 0 || record.codeCount > kMaxSymmetryCodes) {
      return {Search::kBadRecord,
              FormatText("Symmetry code count %d of space group %d setting %d is out of range !!!",
                         record.codeCount, record.number, record.setting)};
    }
    const bool match = record.number == sgNumber && record.setting == settingNumber;
    if (match && !readBody) return {Search::kFound, {}};
    reader.ReadLine(line);
    if (match) {
      std::string_view conditions = WithoutLineEnd(line);
      for (int i = 1; i <= kReflectionClassCount; ++i) {
        const std::size_t start = static_cast<std::size_t>(2 * (i - 1));
        record.conditionCodes[i] =
            start < conditions.size() ? LeadingInt(conditions.substr(start, 2)) : 0;
      }
    }
    if (match) record.symmetryCodes.clear();
    for (int i = 0; i < record.codeCount; ++i) {
      reader.ReadLine(line);
      if (!match) continue;
      const std::string_view code = WithoutLineEnd(line);
      if (code.size() > static_cast<std::size_t>(kMaxCodeLength)) {
        return {Search::kBadRecord,
                FormatText("Symmetry code %.*s of space group %d exceeds %d characters !!!",
                           static_cast<int>(code.size()), code.data(), sgNumber, kMaxCodeLength)};
      }
      record.symmetryCodes.emplace_back(code);
    }
    if (match) return {Search::kFound, {}};
  }
}

// The 4000-record bound has no text of its own; say what happened.
std::string RecordLimitMessage(int sgNumber, int settingNumber) {
  return FormatText("No space group %d setting %d within %d records !!!", sgNumber, settingNumber,
                    kMaxTableRecords);
}

}  // namespace

int CrystalSystemIndexOf(int laueIndex) {
  static constexpr int kSystems[16] = {0, 1, 2, 2, 2, 3, 4, 4, 5, 5, 5, 5, 6, 6, 7, 7};
  return laueIndex >= 1 && laueIndex <= 15 ? kSystems[laueIndex] : 0;
}

int ReadSpaceGroupRecord(const std::string& tablePath, int sgNumber, int settingNumber,
                         SpaceGroupRecord& record, std::string& runMessage) {
  const TableWalk walk = FindRecord(tablePath, sgNumber, settingNumber, true, record);
  switch (walk.result) {
    case Search::kFound:
      record.crystalSystemIndex = CrystalSystemIndexOf(record.laueIndex);
      return 0;
    case Search::kFileNotFound:
      runMessage = tablePath + " file not found !!!\n";
      return -1;
    case Search::kNotFound:
      runMessage = "No space group found !!!";
      return -1;
    case Search::kRecordLimit:
      runMessage = RecordLimitMessage(sgNumber, settingNumber);
      return -1;
    case Search::kBadRecord:
      runMessage = walk.detail;
      return -1;
  }
  return -1;
}

bool LookUpSpaceGroupSymbol(const std::string& tablePath, int sgNumber, int settingNumber,
                            std::string& sgSymbol, UserInterface& ui) {
  SpaceGroupRecord record;
  const TableWalk walk = FindRecord(tablePath, sgNumber, settingNumber, false, record);
  switch (walk.result) {
    case Search::kFound:
      sgSymbol = record.symbol;
      return true;
    case Search::kFileNotFound:
      ui.ShowMessage(tablePath + " file not found !!!\n");
      return false;
    case Search::kNotFound:
      ui.ShowMessage("No space group found !!!");
      return false;
    case Search::kRecordLimit:
      ui.ShowMessage(RecordLimitMessage(sgNumber, settingNumber));
      return false;
    case Search::kBadRecord:
      ui.ShowMessage(walk.detail);
      return false;
  }
  return false;
}

}  // namespace braxel
