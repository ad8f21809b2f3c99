// The middleware chain as start-up installs it, seen from a client: which
// middleware answers which request, in the installed order (CORS before
// Validate before WebJWT before the router), and what the outgoing half of
// the chain does to a real answer (ETag, JSON serialisation, compression).

#include <gtest/gtest.h>
#include <zlib.h>

#include <stdexcept>
#include <string>

#include "e2e_fixture.h"

namespace quorvane::e2e {
namespace {

class ChainTest : public E2ETest {};

std::string Gunzip(std::string_view data) {
  z_stream zs{};
  if (inflateInit2(&zs, 31) != Z_OK) throw std::runtime_error("inflateInit2");
  std::string out;
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  zs.avail_in = static_cast<uInt>(data.size());
  char buffer[16384];
  int rc = Z_OK;
  while (rc == Z_OK) {
    zs.next_out = reinterpret_cast<Bytef*>(buffer);
    zs.avail_out = sizeof buffer;
    rc = inflate(&zs, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - zs.avail_out);
  }
  inflateEnd(&zs);
  if (rc != Z_STREAM_END) throw std::runtime_error("corrupt gzip body");
  return out;
}

TEST_F(ChainTest, EachRefusalComesFromItsMiddleware) {
  const HttpHeaders tenant_only = [] {
    HttpHeaders h = client().TenantHeaders();
    RemoveHeader(h, "Authorization");
    return h;
  }();
  struct Case {
    std::string_view name;
    std::string method;
    HttpHeaders headers;
    int status;
    std::string body;
  };
  const Case cases[] = {
      // CORS answers a preflight before any check.
      {"OptionsWithoutHeaders", "OPTIONS", {}, 204, ""},
      // Validate, before the token is looked at.
      {"NoSchema", "GET", {}, 400, R"({"message":"Schema n\u00E3o informado"})"},
      // WebJWT, once the tenant passed.
      {"NoToken", "GET", tenant_only, 401, "Token not found"},
      {"ExpiredToken", "GET",
       [&] {
         HttpHeaders h = tenant_only;
         SetHeader(h, "Authorization",
                   "Bearer " + MintToken({.subject = "dev", .lifetime = std::chrono::hours(-1)}));
         return h;
       }(),
       401, "Unauthorized"},
      {"ForeignKey", "GET",
       [&] {
         HttpHeaders h = tenant_only;
         SetHeader(h, "Authorization",
                   "Bearer " + tools::MintToken("not-the-server-key", tools::TokenClaims{}));
         return h;
       }(),
       401, "Unauthorized"},
      // The router, after both.
      {"UnknownPath", "GET", client().TenantHeaders(), 404, "Not Found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HttpResponse res = client().SendRaw({c.method, "/v1/nada", c.headers, ""});
    EXPECT_EQ(res.status, c.status);
    EXPECT_EQ(res.body, c.body);
    // Every answer, refusals included, carries the CORS headers.
    EXPECT_EQ(res.Header("Access-Control-Allow-Origin"), "*");
  }
}

TEST_F(ChainTest, StatusPageNeedsNoHeaders) {
  const HttpResponse res = client().SendRaw({"GET", "/status", {}, ""});
  EXPECT_EQ(res.status, 200);
  EXPECT_FALSE(res.body.empty());
}

TEST_F(ChainTest, AnswersCarryAnETagThatRevalidates) {
  TestDb& db = tenant().db();
  db.Exec("DELETE FROM rotas");
  db.Exec("INSERT INTO rotas (codigo, nome) VALUES (1, 'Norte'), (2, 'Sul')");
  const HttpResponse first = Get("/v1/rota");
  ASSERT_EQ(first.status, 200);
  const std::string etag = first.Header("ETag");
  ASSERT_FALSE(etag.empty());

  const HttpResponse again = Get("/v1/rota", {{"If-None-Match", etag}});
  EXPECT_EQ(again.status, 304);
  EXPECT_EQ(again.body, "");

  db.Exec("UPDATE rotas SET nome = 'Leste' WHERE codigo = 2");
  const HttpResponse changed = Get("/v1/rota", {{"If-None-Match", etag}});
  EXPECT_EQ(changed.status, 200);
  EXPECT_NE(changed.Header("ETag"), etag);
  db.Exec("DELETE FROM rotas");
}

TEST_F(ChainTest, LargeAnswersAreCompressedForClientsThatAcceptIt) {
  TestDb& db = tenant().db();
  db.Exec("DELETE FROM textos");
  std::string insert = "INSERT INTO textos (codigo, descricao, texto) VALUES ";
  for (int k = 1; k <= 50; ++k) {
    if (k > 1) insert += ", ";
    insert += "(" + std::to_string(k) + ", 'Texto " + std::to_string(k) + "', REPEAT('x', 40))";
  }
  db.Exec(insert);

  const HttpResponse plain = Get("/v1/texto");
  ASSERT_EQ(plain.status, 200);
  EXPECT_FALSE(plain.HasHeader("Content-Encoding"));
  ASSERT_GT(plain.body.size(), 1024u);

  const HttpResponse gzipped = Get("/v1/texto", {{"Accept-Encoding", "gzip"}});
  ASSERT_EQ(gzipped.status, 200);
  EXPECT_EQ(gzipped.Header("Content-Encoding"), "gzip");
  EXPECT_LT(gzipped.body.size(), plain.body.size());
  EXPECT_EQ(Gunzip(gzipped.body), plain.body);

  // Under the threshold: sent as it is.
  const HttpResponse small = Get("/v1/texto?limit=1", {{"Accept-Encoding", "gzip"}});
  ASSERT_EQ(small.status, 200);
  EXPECT_FALSE(small.HasHeader("Content-Encoding"));
  db.Exec("DELETE FROM textos");
}

}  // namespace
}  // namespace quorvane::e2e
