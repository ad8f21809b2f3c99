#include "web/core/raw_web.h"

#include <algorithm>

#include "web/core/text_util.h"

namespace quorvane::web::core {

HttpMethod MethodFromText(std::string_view method) {
  if (method == "GET") return HttpMethod::kGet;
  if (method == "PUT") return HttpMethod::kPut;
  if (method == "POST") return HttpMethod::kPost;
  if (method == "HEAD") return HttpMethod::kHead;
  if (method == "DELETE") return HttpMethod::kDelete;
  if (method == "PATCH") return HttpMethod::kPatch;
  return HttpMethod::kAny;
}

void RawRequest::SetTarget(std::string_view target) {
  // An absolute-form target ("http://host/path") names the same resource as
  // its path.
  for (std::string_view scheme : {"http://", "https://"}) {
    if (text::IStartsWith(target, scheme)) {
      const auto slash = target.find('/', scheme.size());
      target = slash == std::string_view::npos ? std::string_view("/") : target.substr(slash);
      break;
    }
  }
  const auto question = target.find('?');
  if (question == std::string_view::npos) {
    raw_path.assign(target);
    query_string.clear();
  } else {
    raw_path.assign(target.substr(0, question));
    query_string.assign(target.substr(question + 1));
  }
}

void RawRequest::ApplyMethodOverride() {
  if (method != "POST") return;
  for (std::string_view name : {"X-HTTP-Method-Override", "X-HTTP-Method", "X-METHOD-OVERRIDE"}) {
    const std::string_view value = text::Trim(Header(name));
    if (!value.empty()) {
      method = text::ToUpperAscii(value);
      return;
    }
  }
}

std::string RawRequest::PathInfo() const { return text::PercentDecodeLenient(raw_path, false); }

std::vector<std::string> RawRequest::QueryFields() const {
  std::vector<std::string> fields;
  std::string_view rest = query_string;
  while (!rest.empty()) {
    const auto amp = rest.find('&');
    const std::string_view field = rest.substr(0, amp);
    if (!field.empty()) fields.push_back(text::PercentDecodeLenient(field, true));
    if (amp == std::string_view::npos) break;
    rest.remove_prefix(amp + 1);
  }
  return fields;
}

std::string_view RawRequest::Header(std::string_view name) const {
  for (const auto& h : headers) {
    if (text::IEquals(h.name, name)) return h.value;
  }
  return {};
}

void RawRequest::AddHeader(std::string name, std::string value) {
  headers.push_back({std::move(name), std::move(value)});
}

std::string RawRequest::AllHeaders() const {
  std::string out;
  for (const auto& h : headers) {
    if (!out.empty()) out += "\r\n";
    out += h.name;
    out += ": ";
    out += h.value;
  }
  return out;
}

namespace {

// The value of parameter `name` in a header value such as
// `multipart/form-data; boundary="abc"`; empty when absent.
std::string_view HeaderParam(std::string_view value, std::string_view name) {
  std::size_t pos = value.find(';');
  while (pos != std::string_view::npos) {
    std::string_view rest = value.substr(pos + 1);
    const auto next = rest.find(';');
    std::string_view item = text::Trim(rest.substr(0, next));
    const auto eq = item.find('=');
    if (eq != std::string_view::npos && text::IEquals(text::Trim(item.substr(0, eq)), name)) {
      std::string_view v = text::Trim(item.substr(eq + 1));
      if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
      return v;
    }
    pos = next == std::string_view::npos ? next : pos + 1 + next;
  }
  return {};
}

void ParseUrlEncoded(std::string_view body, std::vector<std::pair<std::string, std::string>>& out) {
  while (!body.empty()) {
    const auto amp = body.find('&');
    const std::string_view field = body.substr(0, amp);
    if (!field.empty()) {
      const auto eq = field.find('=');
      const std::string_view name = field.substr(0, eq);
      const std::string_view value =
          eq == std::string_view::npos ? std::string_view() : field.substr(eq + 1);
      out.emplace_back(text::PercentDecodeLenient(name, true),
                       text::PercentDecodeLenient(value, true));
    }
    if (amp == std::string_view::npos) break;
    body.remove_prefix(amp + 1);
  }
}

// A multipart body is "--boundary" CRLF part (CRLF "--boundary" CRLF part)*
// CRLF "--boundary--". Each part is headers, an empty line, and content. A
// body that does not follow this form yields the parts read so far.
void ParseMultipart(std::string_view body, std::string_view boundary,
                    std::vector<std::pair<std::string, std::string>>& out) {
  if (boundary.empty()) return;
  const std::string delimiter = "--" + std::string(boundary);
  auto pos = body.find(delimiter);
  while (pos != std::string_view::npos) {
    std::size_t start = pos + delimiter.size();
    if (body.substr(start, 2) == "--") return;  // closing delimiter
    if (body.substr(start, 2) != "\r\n") return;
    start += 2;
    const auto head_end = body.find("\r\n\r\n", start);
    if (head_end == std::string_view::npos) return;
    const auto next = body.find("\r\n" + delimiter, head_end + 4);
    if (next == std::string_view::npos) return;
    const std::string_view head = body.substr(start, head_end - start);
    const std::string_view content = body.substr(head_end + 4, next - (head_end + 4));
    std::string_view name;
    std::size_t line_start = 0;
    while (line_start <= head.size()) {
      const auto line_end = head.find("\r\n", line_start);
      const std::string_view line = head.substr(line_start, line_end - line_start);
      const auto colon = line.find(':');
      if (colon != std::string_view::npos &&
          text::IEquals(text::Trim(line.substr(0, colon)), "Content-Disposition")) {
        name = HeaderParam(line.substr(colon + 1), "name");
      }
      if (line_end == std::string_view::npos) break;
      line_start = line_end + 2;
    }
    if (!name.empty()) out.emplace_back(std::string(name), std::string(content));
    pos = next + 2;
  }
}

}  // namespace

std::vector<std::pair<std::string, std::string>> RawRequest::FormFields() const {
  std::vector<std::pair<std::string, std::string>> out;
  const std::string_view type = text::Trim(ContentType());
  if (text::IStartsWith(type, "application/x-www-form-urlencoded")) {
    ParseUrlEncoded(body, out);
  } else if (text::IStartsWith(type, "multipart/form-data")) {
    ParseMultipart(body, HeaderParam(type, "boundary"), out);
  }
  return out;
}

std::vector<std::string> RawRequest::CookieEntries() const {
  std::vector<std::string> entries;
  for (const auto& h : headers) {
    if (!text::IEquals(h.name, "Cookie")) continue;
    std::string_view rest = h.value;
    while (!rest.empty()) {
      const auto semi = rest.find(';');
      const std::string_view entry = text::Trim(rest.substr(0, semi));
      if (!entry.empty()) entries.emplace_back(entry);
      if (semi == std::string_view::npos) break;
      rest.remove_prefix(semi + 1);
    }
  }
  return entries;
}

void RawResponse::SetBodyText(std::string text) {
  body_ = std::move(text);
  body_is_bytes_ = false;
}

void RawResponse::SetBodyBytes(std::string bytes) {
  body_ = std::move(bytes);
  body_is_bytes_ = true;
}

void RawResponse::SetCustomHeader(std::string_view name, std::string_view value) {
  const auto it = std::find_if(custom_headers_.begin(), custom_headers_.end(),
                               [&](const HttpHeader& h) { return text::IEquals(h.name, name); });
  if (value.empty()) {
    if (it != custom_headers_.end()) custom_headers_.erase(it);
  } else if (it != custom_headers_.end()) {
    it->value.assign(value);
  } else {
    custom_headers_.push_back({std::string(name), std::string(value)});
  }
}

std::string_view RawResponse::CustomHeader(std::string_view name) const {
  for (const auto& h : custom_headers_) {
    if (text::IEquals(h.name, name)) return h.value;
  }
  return {};
}

}  // namespace quorvane::web::core
