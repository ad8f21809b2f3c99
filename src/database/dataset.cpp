#include "database/dataset.h"

#include <charconv>

#include "database/dataset_converter.h"
#include "database/errors.h"

namespace quorvane::database {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kIndent = "    ";

void AppendSection(std::string& sql, std::string_view heading,
                   const std::vector<std::string>& items, bool comma_separated) {
  if (items.empty()) return;
  if (!heading.empty()) sql.append(heading).append(kLineBreak);
  for (std::size_t i = 0; i < items.size(); ++i) {
    sql.append(kIndent).append(items[i]);
    if (comma_separated && i + 1 < items.size()) sql += ',';
    sql.append(kLineBreak);
  }
}

std::string_view TrimControl(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

// Splits at commas outside `quote` characters.
std::vector<std::string_view> SplitOutsideQuotes(std::string_view text, char quote) {
  std::vector<std::string_view> pieces;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == quote) {
      quoted = !quoted;
    } else if (text[i] == ',' && !quoted) {
      pieces.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

std::string ColumnItem(std::string_view piece) {
  std::string out;
  for (const char c : piece) {
    if (c != '"') out += c;
  }
  return std::string(TrimControl(out));
}

}  // namespace

LibDataSet& LibDataSet::SetSQL(std::string sql) {
  sql_ = std::move(sql);
  return *this;
}

LibDataSet& LibDataSet::AddSQL(std::string_view line) {
  sql_.append(line).append(kLineBreak);
  return *this;
}

LibDataSet& LibDataSet::AddField(std::string value) {
  fields_.push_back(std::move(value));
  return *this;
}
LibDataSet& LibDataSet::AddTable(std::string value) {
  tables_.push_back(std::move(value));
  return *this;
}
LibDataSet& LibDataSet::AddWhere(std::string value) {
  where_.push_back(std::move(value));
  return *this;
}
LibDataSet& LibDataSet::AddOrderBy(std::string value) {
  order_by_.push_back(std::move(value));
  return *this;
}
LibDataSet& LibDataSet::AddGroupBy(std::string value) {
  group_by_.push_back(std::move(value));
  return *this;
}
LibDataSet& LibDataSet::AddHaving(std::string value) {
  having_.push_back(std::move(value));
  return *this;
}
LibDataSet& LibDataSet::SetLimit(int limit) {
  limit_ = limit;
  return *this;
}
LibDataSet& LibDataSet::SetPage(int page) {
  page_ = page;
  return *this;
}

void LibDataSet::PrepareSelect() {
  std::string sql = "Select";
  if (limit_ > 0) {
    sql += " first " + std::to_string(limit_);
    if (page_ > 0) sql += " skip " + std::to_string(static_cast<long long>(limit_) * page_);
  }
  sql.append(kLineBreak);
  AppendSection(sql, "", fields_, true);
  AppendSection(sql, "From", tables_, false);
  AppendSection(sql, "Where", where_, false);
  AppendSection(sql, "Group by", group_by_, true);
  AppendSection(sql, "Having", having_, false);
  AppendSection(sql, "Order by", order_by_, true);
  sql_ = std::move(sql);
}

LibDataSet& LibDataSet::Open() {
  Close();
  result_ = connection_->Query(sql_);
  row_ = 0;
  active_ = true;
  return *this;
}

LibDataSet& LibDataSet::ExecuteSelect() {
  PrepareSelect();
  return Open();
}

void LibDataSet::Close() {
  result_ = ResultSet();
  row_ = 0;
  active_ = false;
}

LibDataSet& LibDataSet::Reset() {
  Close();
  sql_.clear();
  for (auto* list : {&fields_, &tables_, &where_, &order_by_, &group_by_, &having_}) {
    list->clear();
  }
  limit_ = 0;
  page_ = 0;
  return *this;
}

const FieldValue* LibDataSet::Current(std::string_view name) const {
  const auto index = result_.FindColumn(name);
  if (!index) {
    if (!active_ && result_.columns().empty()) return nullptr;
    throw ConversionError("Field '" + std::string(name) + "' not found");
  }
  if (Eof()) return nullptr;
  return &result_.rows()[row_][*index];
}

std::optional<std::string> LibDataSet::FieldAsVariant(std::string_view name) const {
  const FieldValue* value = Current(name);
  if (!value || !value->text) return std::nullopt;
  return value->text;
}

std::string LibDataSet::FieldAsString(std::string_view name) const {
  return FieldAsVariant(name).value_or(std::string());
}

std::int64_t LibDataSet::FieldAsInteger(std::string_view name) const {
  const auto text = FieldAsVariant(name);
  if (!text) return 0;
  const auto index = result_.FindColumn(name);
  if (result_.columns()[*index].kind == FieldKind::kBoolean && text->size() == 1 &&
      static_cast<unsigned char>((*text)[0]) <= 1) {
    return (*text)[0];  // BIT(1)
  }
  const std::string_view digits = TrimControl(*text);
  std::int64_t value = 0;
  const char* end = digits.data() + digits.size();
  const auto [ptr, ec] = std::from_chars(digits.data(), end, value);
  if (digits.empty() || ec != std::errc() || ptr != end) {
    throw ConversionError("'" + *text + "' is not a valid integer value");
  }
  return value;
}

std::optional<lib::JsonValue> LibDataSet::ToJSONArray() const {
  return Converter::New().DataSet(result_, row_).AsJSONArray();
}

std::optional<lib::JsonValue> LibDataSet::ToJSONObject() const {
  return Converter::New().DataSet(result_, row_).AsJSONObject();
}

std::string LibDataSet::FindValue(std::string_view field_result, std::string_view table,
                                  std::string_view filter, std::string_view result_default) {
  Reset();
  AddField(std::string(field_result)).AddTable(std::string(table));
  if (!filter.empty()) AddWhere(std::string(filter));
  ExecuteSelect();
  if (IsEmpty()) return std::string(result_default);
  const auto& value = result_.rows().front().front().text;
  return value ? *value : std::string(result_default);
}

std::string LibDataSet::FindValue(std::string_view field_key, std::string_view field_result,
                                  std::string_view table, std::string_view value_key,
                                  std::string_view result_default) {
  std::string filter(field_key);
  filter.append(" = ").append(value_key);
  return FindValue(field_result, table, filter, result_default);
}

std::optional<lib::JsonValue> LibDataSetUtils::SelectToJSONArray(CustomConnection& connection,
                                                                 std::string_view sql) {
  LibDataSet data_set(connection);
  data_set.SetSQL(std::string(sql)).Open();
  return data_set.ToJSONArray();
}

std::optional<lib::JsonValue> LibDataSetUtils::SelectToJSONObject(CustomConnection& connection,
                                                                  std::string_view sql) {
  LibDataSet data_set(connection);
  data_set.SetSQL(std::string(sql)).Open();
  return data_set.ToJSONObject();
}

std::string LibDataSetUtils::ConcatenateFieldsAndValues(std::string_view fields,
                                                        std::string_view values, int offset) {
  if (fields.empty() || values.empty()) return {};
  const auto columns = SplitOutsideQuotes(fields, '"');
  const auto literals = SplitOutsideQuotes(values, '\'');
  auto column_at = [&](std::size_t i) {
    return i < columns.size() ? ColumnItem(columns[i]) : std::string();
  };
  auto literal_at = [&](std::size_t i) {
    return i < literals.size() ? std::string(TrimControl(literals[i])) : std::string();
  };
  std::string out;
  std::size_t i = offset < 0 ? 0 : static_cast<std::size_t>(offset);
  for (;;) {
    if (!out.empty()) out += ", ";
    out += column_at(i) + " = " + literal_at(i);
    ++i;
    if (column_at(i).empty() || literal_at(i).empty()) break;
  }
  return std::string(TrimControl(out));
}

}  // namespace quorvane::database
