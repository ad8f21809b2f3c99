#include "web/core/router_tree.h"

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "web/core/text_util.h"

namespace quorvane::web::core {

namespace {

constexpr std::size_t kMethodCount = 7;

// The segments of a path: the first piece always (empty for a leading "/"),
// the later pieces only when not empty. Views into `path`.
void SplitSegments(std::string_view path, std::vector<std::string_view>& out) {
  out.clear();
  std::size_t start = 0;
  bool first = true;
  while (true) {
    const auto slash = path.find('/', start);
    const std::string_view piece = path.substr(
        start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
    if (first || !piece.empty()) out.push_back(piece);
    first = false;
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
}

// The queue of segments that a walk consumes from the front.
struct SegmentQueue {
  std::vector<std::string_view> items;
  std::size_t head = 0;

  bool Empty() const { return head >= items.size(); }
  std::string_view Peek() const { return items[head]; }
  std::string_view Pop() { return items[head++]; }
};

}  // namespace

struct WebRouterTree::Node {
  bool is_initialized = false;
  std::string part;
  std::string tag;
  bool is_regex = false;
  std::vector<WebCallback> middleware;
  // Keys of the parameter children, in the order they were first registered.
  std::vector<std::string> regexed_keys;
  // Handlers per method code; a method without a list is not served here.
  std::array<std::optional<std::vector<WebCallback>>, kMethodCount> callback;
  // The registration number of each handler of `callback`, list by list.
  std::array<std::vector<std::uint64_t>, kMethodCount> sequence;
  std::map<std::string, std::unique_ptr<Node>, std::less<>> route;

  Node& CreateRouter(std::string_view segment) {
    auto it = route.find(segment);
    if (it == route.end()) {
      it = route.emplace(std::string(segment), std::make_unique<Node>()).first;
    }
    return *it->second;
  }

  const Node* Child(std::string_view segment) const {
    const auto it = route.find(segment);
    return it == route.end() ? nullptr : it->second.get();
  }

  const std::optional<std::vector<WebCallback>>& Handlers(HttpMethod method) const {
    return callback[static_cast<std::size_t>(method)];
  }

  void Register(SegmentQueue& queue, HttpMethod method, WebCallback cb, std::uint64_t number) {
    if (!is_initialized) {
      part.assign(queue.Pop());
      is_regex = !part.empty() && part.front() == ':';
      tag = part.empty() ? std::string() : part.substr(1);
      is_initialized = true;
    } else {
      queue.Pop();
    }
    if (queue.Empty()) {
      auto& list = callback[static_cast<std::size_t>(method)];
      if (!list) list.emplace();
      list->push_back(std::move(cb));
      sequence[static_cast<std::size_t>(method)].push_back(number);
      return;
    }
    const std::string_view next = queue.Peek();
    Node& child = CreateRouter(next);
    child.Register(queue, method, std::move(cb), number);
    if (child.is_regex) {
      bool known = false;
      for (const auto& key : regexed_keys) known = known || key == next;
      if (!known) regexed_keys.emplace_back(next);
    }
  }

  // Appends the handlers of this node and of everything below it; `path` is
  // this node's path.
  void Collect(const std::string& path, std::vector<RegisteredRoute>& out) const {
    for (std::size_t m = 0; m < kMethodCount; ++m) {
      for (const std::uint64_t number : sequence[m]) {
        out.push_back({static_cast<HttpMethod>(m), path, number});
      }
    }
    for (const auto& [key, child] : route) {
      child->Collect(path == "/" ? path + key : path + "/" + key, out);
    }
  }

  // Whether this node can end the path S[i..] with a handler for `method`.
  bool HasNext(HttpMethod method, const std::vector<std::string_view>& s, std::size_t i) const {
    if (i >= s.size()) return false;
    if (i + 1 == s.size()) {
      if (s[i] == part || is_regex)
        return Handlers(method).has_value() || method == HttpMethod::kAny;
      return false;
    }
    if (const Node* child = Child(s[i + 1])) return child->HasNext(method, s, i + 1);
    for (const auto& key : regexed_keys) {
      const Node* child = Child(key);
      if (child != nullptr && child->HasNext(method, s, i + 1)) return true;
    }
    return false;
  }
};

namespace {

using Node = WebRouterTree::Node;

bool ExecuteInternal(const Node& node, SegmentQueue& queue, HttpMethod method, WebRequest& req,
                     WebResponse& res);

// The walk state of one request at one node.
class NextCaller {
 public:
  NextCaller(const Node& node, SegmentQueue& queue, HttpMethod method, WebRequest& req,
             WebResponse& res, bool& found)
      : node_(node), queue_(queue), method_(method), req_(req), res_(res), found_(found) {}

  void Next() {
    ++index_;
    const auto middleware_count = static_cast<std::ptrdiff_t>(node_.middleware.size());
    if (index_ < middleware_count) {
      found_ = true;
      node_.middleware[static_cast<std::size_t>(index_)](req_, res_, next_);
      // A middleware that did not continue the chain does not stop it.
      if (index_ < middleware_count) Next();
    } else if (queue_.Empty()) {
      ++index_callback_;
      const auto& handlers = node_.Handlers(method_);
      if (!handlers) {
        found_ = false;
      } else if (index_callback_ < static_cast<std::ptrdiff_t>(handlers->size())) {
        found_ = true;
        try {
          (*handlers)[static_cast<std::size_t>(index_callback_)](req_, res_, next_);
        } catch (const WebCallbackInterrupted&) {
          throw;
        } catch (...) {
          res_.Send("Internal Application Error");
          res_.Status(500);
          throw;
        }
        // Every handler of the list runs, whether or not this one continued.
        Next();
      }
    } else {
      found_ = CallNextPath();
    }
    if (!found_) {
      res_.Send("Not Found");
      res_.Status(404);
    }
  }

 private:
  bool CallNextPath() {
    const std::string_view segment = queue_.Peek();
    // A literal match is final: parameters are not tried when it fails.
    if (const Node* child = node_.Child(segment)) {
      return ExecuteInternal(*child, queue_, method_, req_, res_);
    }
    for (const auto& key : node_.regexed_keys) {
      const Node* child = node_.Child(key);
      if (child != nullptr && child->HasNext(method_, queue_.items, queue_.head)) {
        return ExecuteInternal(*child, queue_, method_, req_, res_);
      }
    }
    return false;
  }

  const Node& node_;
  SegmentQueue& queue_;
  HttpMethod method_;
  WebRequest& req_;
  WebResponse& res_;
  bool& found_;
  std::ptrdiff_t index_ = -1;
  std::ptrdiff_t index_callback_ = -1;
  // Small enough for std::function's inline storage: no allocation per node.
  const WebNext next_ = [this] { Next(); };
};

bool ExecuteInternal(const Node& node, SegmentQueue& queue, HttpMethod method, WebRequest& req,
                     WebResponse& res) {
  bool found = false;
  const std::string_view current = queue.Pop();
  if (node.is_regex) req.Params().insert_or_assign(node.tag, DecodeParam(current));
  NextCaller caller(node, queue, method, req, res, found);
  caller.Next();
  return found;
}

}  // namespace

std::string NormalizeRoutePath(std::string_view path) {
  while (!path.empty() && path.front() == '/') path.remove_prefix(1);
  while (!path.empty() && path.back() == '/') path.remove_suffix(1);
  std::string out = "/";
  out += path;
  return out;
}

std::string DecodeParam(std::string_view text) {
  auto decoded = text::PercentDecode(text, /*plus_is_space=*/true, /*double_percent=*/true);
  if (!decoded) {
    throw InvalidPathEncoding("Invalid percent-encoding in path segment \"" + std::string(text) +
                              "\"");
  }
  if (!text::IsValidUtf8(*decoded)) {
    throw InvalidPathEncoding("Path segment \"" + std::string(text) + "\" is not valid UTF-8");
  }
  return std::move(*decoded);
}

WebRouterTree::WebRouterTree() : root_(std::make_unique<Node>()) {}
WebRouterTree::~WebRouterTree() = default;

void WebRouterTree::RegisterRoute(HttpMethod method, std::string_view path, WebCallback callback) {
  const std::string normalized = NormalizeRoutePath(path);
  SegmentQueue queue;
  SplitSegments(normalized, queue.items);
  std::unique_lock lock(mutex_);
  root_->Register(queue, method, std::move(callback), registrations_++);
}

void WebRouterTree::RegisterMiddleware(WebCallback middleware) {
  std::unique_lock lock(mutex_);
  root_->middleware.push_back(std::move(middleware));
}

void WebRouterTree::RegisterMiddleware(std::string_view path, WebCallback middleware) {
  const std::string normalized = NormalizeRoutePath(path);
  SegmentQueue queue;
  SplitSegments(normalized, queue.items);
  std::unique_lock lock(mutex_);
  Node* node = root_.get();
  queue.Pop();
  while (!queue.Empty()) node = &node->CreateRouter(queue.Pop());
  node->middleware.push_back(std::move(middleware));
}

std::vector<RegisteredRoute> WebRouterTree::Routes() const {
  std::vector<RegisteredRoute> out;
  {
    std::shared_lock lock(mutex_);
    root_->Collect("/", out);
  }
  std::sort(out.begin(), out.end(), [](const RegisteredRoute& a, const RegisteredRoute& b) {
    return a.sequence < b.sequence;
  });
  return out;
}

bool WebRouterTree::Execute(WebRequest& req, WebResponse& res) {
  SegmentQueue queue;
  queue.items.reserve(16);
  SplitSegments(req.RawWebRequest().raw_path, queue.items);
  std::shared_lock lock(mutex_);
  return ExecuteInternal(*root_, queue, req.MethodType(), req, res);
}

}  // namespace quorvane::web::core
