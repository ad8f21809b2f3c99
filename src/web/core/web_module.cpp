#include "web/core/web_module.h"

#include <ctime>
#include <exception>

#include "lib/json.h"
#include "web/core/text_util.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::web::core {

namespace {

constexpr std::string_view kDefaultContentType = "text/html; charset=utf-8";

std::string HttpDate() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  char buf[64];
  const std::size_t n = std::strftime(buf, sizeof buf, "%a, %d %b %Y %H:%M:%S GMT", &tm);
  return std::string(buf, n);
}

bool IsTokenChar(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool IsValidHeaderName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    if (!IsTokenChar(c)) return false;
  }
  return true;
}

// Header values come partly from clients (echoed origins, names); a line
// break in one would let it forge headers, so control characters are dropped.
void AppendHeader(std::string& out, std::string_view name, std::string_view value) {
  if (!IsValidHeaderName(name)) return;
  out += name;
  out += ": ";
  for (const char c : value) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 32 || c == '\t') out.push_back(c);
  }
  out += "\r\n";
}

std::string EncodeText(const std::string& body, std::string_view content_type) {
  const auto pos = text::IFind(content_type, "charset=");
  if (pos == std::string_view::npos) return body;
  std::string_view charset = content_type.substr(pos + 8);
  charset = charset.substr(0, charset.find(';'));
  charset = text::Trim(charset);
  if (charset.size() >= 2 && charset.front() == '"')
    charset = charset.substr(1, charset.size() - 2);
  if (text::IEquals(charset, "iso-8859-1") || text::IEquals(charset, "latin1") ||
      text::IEquals(charset, "windows-1252") || text::IEquals(charset, "ansi")) {
    return text::Utf8ToCp1252(body);
  }
  if (text::IEquals(charset, "us-ascii") || text::IEquals(charset, "ascii")) {
    return lib::ReduceToAscii(body);  // one "?" per character, not per byte
  }
  return body;
}

}  // namespace

void SetErrorPage(RawResponse& raw_res, int status, std::string_view message,
                  std::string_view path) {
  raw_res.set_status(status);
  raw_res.SetBodyText(ErrorPage(status, message, path));
  raw_res.set_content_type(std::string(kDefaultContentType));
  raw_res.set_content_encoding("");
}

void HandlerAction(WebRouterTree& tree, RawRequest& raw_req, RawResponse& raw_res) {
  try {
    WebRequest req(raw_req);
    WebResponse res(raw_res);
    try {
      tree.Execute(req, res);
    } catch (const WebCallbackInterrupted&) {
      // The callbacks have filled the answer.
    }
  } catch (const InvalidPathEncoding& e) {
    SetErrorPage(raw_res, 400, e.what(), raw_req.PathInfo());
  } catch (const std::exception& e) {
    SetErrorPage(raw_res, 500, e.what(), raw_req.PathInfo());
  } catch (...) {
    SetErrorPage(raw_res, 500, "Unknown error", raw_req.PathInfo());
  }
}

std::string_view ReasonPhrase(int status) {
  switch (status) {
    case 100:
      return "Continue";
    case 101:
      return "Switching Protocols";
    case 200:
      return "OK";
    case 201:
      return "Created";
    case 202:
      return "Accepted";
    case 203:
      return "Non-Authoritative Information";
    case 204:
      return "No Content";
    case 205:
      return "Reset Content";
    case 206:
      return "Partial Content";
    case 300:
      return "Multiple Choices";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 303:
      return "See Other";
    case 304:
      return "Not Modified";
    case 307:
      return "Temporary Redirect";
    case 308:
      return "Permanent Redirect";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 402:
      return "Payment Required";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 406:
      return "Not Acceptable";
    case 408:
      return "Request Timeout";
    case 409:
      return "Conflict";
    case 410:
      return "Gone";
    case 411:
      return "Length Required";
    case 412:
      return "Precondition Failed";
    case 413:
      return "Content Too Large";
    case 414:
      return "URI Too Long";
    case 415:
      return "Unsupported Media Type";
    case 417:
      return "Expectation Failed";
    case 422:
      return "Unprocessable Entity";
    case 429:
      return "Too Many Requests";
    case 431:
      return "Request Header Fields Too Large";
    case 500:
      return "Internal Server Error";
    case 501:
      return "Not Implemented";
    case 502:
      return "Bad Gateway";
    case 503:
      return "Service Unavailable";
    case 504:
      return "Gateway Timeout";
    case 505:
      return "HTTP Version Not Supported";
    default:
      return "Unknown";
  }
}

std::string StatusPage(int status) {
  const std::string title = std::to_string(status) + " " + std::string(ReasonPhrase(status));
  return "<html><head><title>" + title + "</title></head><body><h1>" + title +
         "</h1></body></html>";
}

std::string ErrorPage(int status, std::string_view message, std::string_view path) {
  const std::string title = std::to_string(status) + " " + std::string(ReasonPhrase(status));
  return "<html><head><title>" + title + "</title></head><body><h1>" + title + "</h1><p>" +
         text::HtmlEscape(message) + "</p><p>Path: " + text::HtmlEscape(path) +
         "</p></body></html>";
}

std::string SerializeResponse(const RawResponse& raw, bool head_request, std::string_view path) {
  if (raw.status() < 100 || raw.status() > 999) {
    RawResponse error;
    SetErrorPage(error, 500, "Invalid status code " + std::to_string(raw.status()), path);
    return SerializeResponse(error, head_request, path);
  }
  const int status = raw.status();
  const bool informational = status / 100 == 1;
  const bool no_body_status = informational || status == 204 || status == 304;
  const bool with_body = !head_request && !no_body_status;

  std::string content_type =
      raw.content_type().empty() ? std::string(kDefaultContentType) : raw.content_type();
  std::string body;
  std::string_view content_encoding = raw.content_encoding();
  if (with_body) {
    if (raw.body().empty()) {
      body = StatusPage(status);
      content_type = kDefaultContentType;
      content_encoding = {};
    } else {
      body = raw.body_is_bytes() ? raw.body() : EncodeText(raw.body(), content_type);
    }
  }

  std::string out;
  out.reserve(256 + body.size());
  out += "HTTP/1.1 ";
  out += std::to_string(status);
  out += ' ';
  out += ReasonPhrase(status);
  out += "\r\n";
  AppendHeader(out, "Date", HttpDate());
  if (!no_body_status) {
    AppendHeader(out, "Content-Type", content_type);
    if (!content_encoding.empty()) AppendHeader(out, "Content-Encoding", content_encoding);
  }
  for (const auto& h : raw.custom_headers()) {
    if (text::IEquals(h.name, "Content-Length") || text::IEquals(h.name, "Connection") ||
        text::IEquals(h.name, "Transfer-Encoding")) {
      continue;  // framing is ours alone
    }
    AppendHeader(out, h.name, h.value);
  }
  // 1xx and 204 answers must not carry a Content-Length; every other
  // bodiless answer says 0.
  if (!(informational || status == 204)) {
    AppendHeader(out, "Content-Length", std::to_string(body.size()));
  }
  out += "Connection: close\r\n\r\n";
  out += body;
  return out;
}

}  // namespace quorvane::web::core
