#include "web/core/router_tree.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "web/core/web_core.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::web::core {
namespace {

struct Outcome {
  bool found = false;
  int status = 0;
  std::string body;
  WebStringMap params;
};

// A tree with a registry over it, and callbacks that write their name into a
// log so the tests can see what ran and in which order.
class RouterTreeTest : public ::testing::Test {
 protected:
  WebCallback Handler(std::string name, bool call_next = false) {
    return [this, name, call_next](WebRequest&, WebResponse& res, const WebNext& next) {
      log_.push_back(name);
      res.Send(name);
      if (call_next) next();
    };
  }

  // A middleware that logs on its way in and, after next, on its way out.
  WebCallback Middleware(std::string name, bool call_next = true) {
    return [this, name, call_next](WebRequest&, WebResponse&, const WebNext& next) {
      log_.push_back(name + ">");
      if (call_next) {
        next();
        log_.push_back("<" + name);
      }
    };
  }

  Outcome Run(std::string method, std::string_view target) {
    RawRequest raw_req;
    raw_req.method = std::move(method);
    raw_req.SetTarget(target);
    RawResponse raw_res;
    WebRequest req(raw_req);
    WebResponse res(raw_res);
    Outcome out;
    out.found = tree_.Execute(req, res);
    out.status = raw_res.status();
    out.body = raw_res.body();
    out.params = req.Params();
    return out;
  }

  WebRouterTree tree_;
  WebCore core_{tree_};
  std::vector<std::string> log_;
};

using Log = std::vector<std::string>;

TEST(NormalizeRoutePathTest, StripsSlashesAndPrefixesOne) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"/v1/filial/", "/v1/filial"}, {"v1/filial", "/v1/filial"}, {"///", "/"}, {"", "/"},
      {"//a//b//", "/a//b"},         {"/status", "/status"},
  };
  for (const auto& [in, want] : cases) {
    SCOPED_TRACE(in);
    EXPECT_EQ(NormalizeRoutePath(in), want);
  }
}

struct PathCase {
  std::string_view name;
  std::string_view registered;
  std::string_view requested;
  bool found;
};

constexpr PathCase kPathCases[] = {
    {"Plain", "/v1/cidade", "/v1/cidade", true},
    {"TrailingSlash", "/v1/cidade", "/v1/cidade/", true},
    {"DoubleSlash", "/v1/cidade", "/v1//cidade", true},
    {"QueryIgnored", "/v1/cidade", "/v1/cidade?limit=5", true},
    {"CaseMatters", "/v1/cidade", "/V1/cidade", false},
    {"NoDecodingBeforeMatch", "/v1/a%20b", "/v1/a%20b", true},
    {"DecodedDoesNotMatchEncoded", "/v1/a b", "/v1/a%20b", false},
    {"RegisteredWithoutLeadingSlash", "v1/filial/", "/v1/filial", true},
    {"RootFromSlashes", "///", "/", true},
    {"RootFromEmpty", "", "/", true},
    {"DeeperThanTree", "/v1/cidade", "/v1/cidade/1", false},
    {"ShorterThanRoute", "/v1/cidade", "/v1", false},
    {"UnknownTop", "/v1/cidade", "/v2/cidade", false},
};

class RouterPathTest : public RouterTreeTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(RouterPathTest, FindsRegisteredPath) {
  const PathCase& c = GetParam();
  core_.Get(c.registered, Handler("h"));
  const Outcome out = Run("GET", c.requested);
  EXPECT_EQ(out.found, c.found);
  if (c.found) {
    EXPECT_EQ(out.status, 200);
    EXPECT_EQ(log_, Log{"h"});
  } else {
    EXPECT_EQ(out.status, 404);
    EXPECT_EQ(out.body, "Not Found");
    EXPECT_TRUE(log_.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Table, RouterPathTest, ::testing::ValuesIn(kPathCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RouterTreeTest, MethodsAreKeptApartAndThereIsNo405) {
  core_.Get("/v1/negativado", Handler("get-list")).Delete("/v1/negativado/:ID", Handler("delete"));

  Outcome out = Run("DELETE", "/v1/negativado/42");
  EXPECT_TRUE(out.found);
  EXPECT_EQ(log_, Log{"delete"});
  EXPECT_EQ(out.params.at("ID"), "42");

  log_.clear();
  out = Run("GET", "/v1/negativado/42");
  EXPECT_FALSE(out.found);
  EXPECT_EQ(out.status, 404);
  EXPECT_EQ(out.body, "Not Found");

  out = Run("PUT", "/v1/negativado");
  EXPECT_EQ(out.status, 404);
  EXPECT_EQ(out.body, "Not Found");
  EXPECT_TRUE(log_.empty());
}

struct ParamCase {
  std::string_view name;
  std::string_view segment;
  std::string_view want;
};

constexpr ParamCase kParamCases[] = {
    {"Plain", "42", "42"},
    {"EscapedBlank", "a%20b", "a b"},
    {"PlusIsBlank", "a+b", "a b"},
    {"EscapedPercent", "100%25", "100%"},
    {"DoublePercent", "100%%", "100%"},
    {"Utf8Escapes", "S%C3%A3o", "S\xC3\xA3o"},
    {"LowerHex", "%c3%a1", "\xC3\xA1"},
    {"EscapedSlash", "a%2Fb", "a/b"},
};

class RouterParamTest : public RouterTreeTest, public ::testing::WithParamInterface<ParamCase> {};

TEST_P(RouterParamTest, DecodesParameter) {
  core_.Get("/v1/cidade/:nome", Handler("h"));
  const Outcome out = Run("GET", "/v1/cidade/" + std::string(GetParam().segment));
  ASSERT_TRUE(out.found);
  EXPECT_EQ(out.params.at("nome"), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Table, RouterParamTest, ::testing::ValuesIn(kParamCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RouterTreeTest, MalformedParameterFailsBeforeItsNodeRuns) {
  core_.Use(Middleware("root")).Use("/v1/cidade/:nome", Middleware("param-node"));
  core_.Get("/v1/cidade/:nome", Handler("h"));
  for (std::string_view segment : {"%zz", "%4", "abc%", "%C3", "%FF%FE"}) {
    SCOPED_TRACE(segment);
    log_.clear();
    EXPECT_THROW(Run("GET", "/v1/cidade/" + std::string(segment)), InvalidPathEncoding);
    // The root middleware ran; nothing of the parameter node did.
    EXPECT_EQ(log_, Log{"root>"});
  }
}

TEST_F(RouterTreeTest, EveryHandlerOfAListRunsOnceInOrder) {
  struct Case {
    std::string_view name;
    bool first_calls_next;
  };
  for (const Case& c : {Case{"FirstReturns", false}, Case{"FirstContinues", true}}) {
    SCOPED_TRACE(c.name);
    WebRouterTree tree;
    WebCore core(tree);
    log_.clear();
    core.Post("/v1/x", Handler("one", c.first_calls_next))
        .Post("/v1/x", Handler("two"))
        .Post("/v1/x", Handler("three"));
    RawRequest raw_req;
    raw_req.method = "POST";
    raw_req.SetTarget("/v1/x");
    RawResponse raw_res;
    WebRequest req(raw_req);
    WebResponse res(raw_res);
    EXPECT_TRUE(tree.Execute(req, res));
    EXPECT_EQ(log_, (Log{"one", "two", "three"}));
    EXPECT_EQ(raw_res.body(), "three");
  }
}

TEST_F(RouterTreeTest, MiddlewareThatDoesNotCallNextDoesNotStopTheChain) {
  core_.Use(Middleware("a")).Use(Middleware("quiet", false)).Use(Middleware("c"));
  core_.Get("/v1/x", Handler("h"));
  const Outcome out = Run("GET", "/v1/x");
  EXPECT_TRUE(out.found);
  // Post-next parts run in reverse order; "quiet" has none.
  EXPECT_EQ(log_, (Log{"a>", "quiet>", "c>", "h", "<c", "<a"}));
}

TEST_F(RouterTreeTest, MiddlewareRunsEvenWhenNoRouteMatches) {
  core_.Use(Middleware("a"));
  core_.Get("/v1/x", Handler("h"));
  const Outcome out = Run("GET", "/nowhere");
  EXPECT_FALSE(out.found);
  EXPECT_EQ(out.status, 404);
  EXPECT_EQ(log_, (Log{"a>", "<a"}));
}

TEST_F(RouterTreeTest, InterruptionEndsTheChainWithTheAnswerAsSet) {
  core_.Use(Middleware("outer"));
  core_
      .Get("/v1/x",
           [this](WebRequest&, WebResponse& res, const WebNext&) {
             log_.push_back("refuse");
             res.Send("refused").Status(412);
             throw WebCallbackInterrupted();
           })
      .Get("/v1/x", Handler("never"));
  RawRequest raw_req;
  raw_req.SetTarget("/v1/x");
  RawResponse raw_res;
  WebRequest req(raw_req);
  WebResponse res(raw_res);
  EXPECT_THROW(tree_.Execute(req, res), WebCallbackInterrupted);
  EXPECT_EQ(raw_res.status(), 412);
  EXPECT_EQ(raw_res.body(), "refused");
  // Neither the later handler nor the outer middleware's post-next part ran.
  EXPECT_EQ(log_, (Log{"outer>", "refuse"}));
}

TEST_F(RouterTreeTest, MiddlewareInterruptionSkipsTheHandler) {
  core_.Use([this](WebRequest&, WebResponse& res, const WebNext&) {
    log_.push_back("cors");
    res.Status(204);
    throw WebCallbackInterrupted();
  });
  core_.Get("/v1/x", Handler("h"));
  RawRequest raw_req;
  raw_req.method = "OPTIONS";
  raw_req.SetTarget("/v1/x");
  RawResponse raw_res;
  WebRequest req(raw_req);
  WebResponse res(raw_res);
  EXPECT_THROW(tree_.Execute(req, res), WebCallbackInterrupted);
  EXPECT_EQ(raw_res.status(), 204);
  EXPECT_EQ(log_, Log{"cors"});
}

TEST_F(RouterTreeTest, HandlerErrorBecomes500AndTravelsOn) {
  core_.Use(Middleware("outer"));
  core_.Get("/v1/x", [](WebRequest&, WebResponse& res, const WebNext&) {
    res.Send("partial");
    throw std::runtime_error("database down");
  });
  RawRequest raw_req;
  raw_req.SetTarget("/v1/x");
  RawResponse raw_res;
  WebRequest req(raw_req);
  WebResponse res(raw_res);
  EXPECT_THROW(tree_.Execute(req, res), std::runtime_error);
  EXPECT_EQ(raw_res.status(), 500);
  EXPECT_EQ(raw_res.body(), "Internal Application Error");
  EXPECT_EQ(log_, Log{"outer>"});
}

TEST_F(RouterTreeTest, MiddlewareErrorIsNotTurnedInto500ByTheTree) {
  core_.Use([](WebRequest&, WebResponse&, const WebNext&) { throw std::logic_error("bad"); });
  core_.Get("/v1/x", Handler("h"));
  RawRequest raw_req;
  raw_req.SetTarget("/v1/x");
  RawResponse raw_res;
  WebRequest req(raw_req);
  WebResponse res(raw_res);
  EXPECT_THROW(tree_.Execute(req, res), std::logic_error);
  EXPECT_EQ(raw_res.status(), 200);  // the provider answers it with its error page
  EXPECT_TRUE(log_.empty());
}

struct MatchCase {
  std::string_view name;
  std::string_view method;
  std::string_view target;
  std::string_view want;  // handler that runs; empty: 404
  std::string_view param_name = {};
  std::string_view param_value = {};
};

// Routes: GET /p/new, GET /p/:id, GET /a/b, GET /a/:id/c, GET /r/:first/x,
// GET /r/:second/y, GET /q/:get, DELETE /q/:del.
constexpr MatchCase kMatchCases[] = {
    {"LiteralBeatsParameter", "GET", "/p/new", "p-new"},
    {"ParameterWhenNoLiteral", "GET", "/p/7", "p-id", "id", "7"},
    {"LiteralIsFinal", "GET", "/a/b/c", ""},
    {"ParameterBelowOtherSegment", "GET", "/a/z/c", "a-id-c", "id", "z"},
    {"FirstCompletingParameter", "GET", "/r/1/x", "r-first", "first", "1"},
    {"SecondParameterWhenFirstCannotComplete", "GET", "/r/1/y", "r-second", "second", "1"},
    {"NeitherParameterCompletes", "GET", "/r/1/z", ""},
    {"ParameterChosenByMethod", "DELETE", "/q/5", "q-del", "del", "5"},
    {"ParameterChosenByMethodGet", "GET", "/q/5", "q-get", "get", "5"},
    {"NoParameterForMethod", "PATCH", "/q/5", ""},
    {"LiteralSegmentEqualToParameterKey", "GET", "/p/:id", "p-id", "id", ":id"},
};

class RouterMatchTest : public RouterTreeTest, public ::testing::WithParamInterface<MatchCase> {
 protected:
  void SetUp() override {
    core_.Get("/p/new", Handler("p-new"))
        .Get("/p/:id", Handler("p-id"))
        .Get("/a/b", Handler("a-b"))
        .Get("/a/:id/c", Handler("a-id-c"))
        .Get("/r/:first/x", Handler("r-first"))
        .Get("/r/:second/y", Handler("r-second"))
        .Get("/q/:get", Handler("q-get"))
        .Delete("/q/:del", Handler("q-del"));
  }
};

TEST_P(RouterMatchTest, PicksTheRightHandler) {
  const MatchCase& c = GetParam();
  const Outcome out = Run(std::string(c.method), c.target);
  if (c.want.empty()) {
    EXPECT_FALSE(out.found);
    EXPECT_EQ(out.status, 404);
    EXPECT_TRUE(log_.empty());
  } else {
    EXPECT_TRUE(out.found);
    EXPECT_EQ(log_, Log{std::string(c.want)});
  }
  if (!c.param_name.empty()) {
    ASSERT_TRUE(out.params.contains(c.param_name));
    EXPECT_EQ(out.params.at(std::string(c.param_name)), c.param_value);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, RouterMatchTest, ::testing::ValuesIn(kMatchCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RouterTreeTest, AnyMethodWalksMiddlewareButFindsNoHandler) {
  core_.Use(Middleware("m"));
  core_.Get("/v1/x/:id", Handler("h"));
  const Outcome out = Run("OPTIONS", "/v1/x/1");
  EXPECT_FALSE(out.found);
  EXPECT_EQ(out.status, 404);
  EXPECT_EQ(log_, (Log{"m>", "<m"}));
  EXPECT_EQ(out.params.at("id"), "1");  // the walk reached the parameter node
}

TEST_F(RouterTreeTest, PathMiddlewareRunsOnlyBelowItsNode) {
  core_.Use("/v1", Middleware("v1"));
  core_.Get("/v1/x", Handler("x")).Get("/other", Handler("other"));
  Run("GET", "/v1/x");
  EXPECT_EQ(log_, (Log{"v1>", "x", "<v1"}));
  log_.clear();
  Run("GET", "/other");
  EXPECT_EQ(log_, Log{"other"});
}

TEST_F(RouterTreeTest, RouteMiddlewareShapesRegisterHandlersInOrder) {
  core_.Get("/a", Middleware("mw", false), Handler("h"))
      .Get("/b", WebCallbacks{Handler("one"), Handler("two")})
      .Get("/c", WebCallbacks{Handler("one"), Handler("two")}, Handler("three"));
  for (const auto& [target, want] : {std::pair<std::string_view, Log>{"/a", {"mw>", "h"}},
                                     {"/b", {"one", "two"}},
                                     {"/c", {"one", "two", "three"}}}) {
    SCOPED_TRACE(target);
    log_.clear();
    EXPECT_TRUE(Run("GET", target).found);
    EXPECT_EQ(log_, want);
  }
}

TEST_F(RouterTreeTest, UseListRegistersInListOrder) {
  core_.Use(WebCallbacks{Middleware("a"), Middleware("b")});
  core_.Use("/v1", WebCallbacks{Middleware("c")});
  core_.Get("/v1", Handler("h"));
  Run("GET", "/v1");
  EXPECT_EQ(log_, (Log{"a>", "b>", "c>", "h", "<c", "<b", "<a"}));
}

TEST_F(RouterTreeTest, GroupJoinsPrefixAndPath) {
  core_.Group().Prefix("/v1/filial/").Get("/", Handler("list")).Get("/newid", Handler("newid"));
  core_.Group().Get("/status", Handler("status"));
  core_.Group().Prefix("v1/cartao").Post("//", Handler("post"));
  struct Case {
    std::string_view method, target, want;
  };
  for (const Case& c : {Case{"GET", "/v1/filial", "list"}, Case{"GET", "/v1/filial/newid", "newid"},
                        Case{"GET", "/status", "status"}, Case{"POST", "/v1/cartao", "post"}}) {
    SCOPED_TRACE(c.target);
    log_.clear();
    EXPECT_TRUE(Run(std::string(c.method), c.target).found);
    EXPECT_EQ(log_, Log{std::string(c.want)});
  }
}

TEST_F(RouterTreeTest, GroupMiddlewareSitsOnTheGroupNode) {
  auto group = core_.Group();
  group.Prefix("/v1/a").Use(Middleware("m1"), Middleware("m2")).Get("/x", Handler("x"));
  core_.Get("/v1/b", Handler("b"));
  Run("GET", "/v1/a/x");
  EXPECT_EQ(log_, (Log{"m1>", "m2>", "x", "<m2", "<m1"}));
  log_.clear();
  Run("GET", "/v1/b");
  EXPECT_EQ(log_, Log{"b"});
}

TEST_F(RouterTreeTest, RouteBuilderRegistersMethodsOnOnePath) {
  core_.Route("/v1/kit").All(Middleware("all")).Get(Handler("get")).Post(Handler("post")).End();
  core_.Group().Prefix("/v1").Route("/preco").Delete(Handler("del"));
  Run("GET", "/v1/kit");
  Run("POST", "/v1/kit");
  Run("DELETE", "/v1/preco");
  EXPECT_EQ(log_, (Log{"all>", "get", "<all", "all>", "post", "<all", "del"}));
}

TEST_F(RouterTreeTest, RootHandler) {
  core_.Get("/", Handler("root"));
  EXPECT_TRUE(Run("GET", "/").found);
  EXPECT_TRUE(Run("GET", "//").found);
  EXPECT_EQ(log_, (Log{"root", "root"}));
}

TEST_F(RouterTreeTest, ParameterValueIsTheLastOneOnThePath) {
  core_.Get("/v1/:id/sub/:id", Handler("h"));
  const Outcome out = Run("GET", "/v1/1/sub/2");
  EXPECT_EQ(out.params.at("id"), "2");
}

TEST_F(RouterTreeTest, RegistrationWhileServingIsSafe) {
  core_.Get("/v1/x", [](WebRequest&, WebResponse&, const WebNext&) {});
  std::atomic<bool> stop{false};
  std::atomic<int> misses{0};
  std::vector<std::thread> walkers;
  for (int t = 0; t < 3; ++t) {
    walkers.emplace_back([&] {
      while (!stop) {
        RawRequest raw_req;
        raw_req.SetTarget("/v1/x");
        RawResponse raw_res;
        WebRequest req(raw_req);
        WebResponse res(raw_res);
        WebRouterTree& tree = tree_;
        if (!tree.Execute(req, res)) ++misses;
      }
    });
  }
  WebRouterTree& tree = tree_;
  for (int i = 0; i < 200; ++i) {
    tree.RegisterRoute(HttpMethod::kGet, "/v1/late/" + std::to_string(i),
                       [](WebRequest&, WebResponse&, const WebNext&) {});
  }
  stop = true;
  for (auto& w : walkers) w.join();
  EXPECT_EQ(misses, 0);
  EXPECT_TRUE(Run("GET", "/v1/late/199").found);
}

TEST_F(RouterTreeTest, RoutesListsEveryHandlerInRegistrationOrder) {
  EXPECT_TRUE(tree_.Routes().empty());
  const WebCallback h = [](WebRequest&, WebResponse&, const WebNext&) {};
  core_.Use(h);  // middleware is not a route
  core_.Group().Prefix("/v1/negativado").Get("/", h).Post("/", h).Delete("/:ID", h);
  core_.Group().Prefix("/v1").Get("/aliquota", h);
  core_.Get("/", h).Get("/v1/negativado", h);  // a second handler on one path and method
  core_.Use("/v1/banco", h);                   // a node without handlers
  using M = HttpMethod;
  const std::vector<RegisteredRoute> want = {
      {M::kGet, "/v1/negativado", 0},
      {M::kPost, "/v1/negativado", 1},
      {M::kDelete, "/v1/negativado/:ID", 2},
      {M::kGet, "/v1/aliquota", 3},
      {M::kGet, "/", 4},
      {M::kGet, "/v1/negativado", 5},
  };
  EXPECT_EQ(tree_.Routes(), want);
}

}  // namespace
}  // namespace quorvane::web::core
