#pragma once

// Price tables and their items.
//
//   GET  /v1/preco               GetTabela       all price tables
//   POST /v1/preco               PostTabela      tabelaprecos
//   GET  /v1/preco/item          GetItem         the items of all branches
//   POST /v1/preco/item          PostItem        tabelaprecositens
//   GET  /v1/preco/item/filial   GetItemFilial   the items of the requesting branch
//
// While the tenant equalises prices (igualar_precos 1), all branches share
// one set of items, stored under the branch code -1: GetItemFilial then reads
// that set instead of the branch's own items, and PostItem writes into it by
// turning the codfilial key value into -1.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "web/core/web_callback.h"
#include "web/core/web_core.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::controller::produto_preco {

// The branch code of the items shared by all branches.
inline constexpr std::string_view kFilialCompartilhada = "-1";

// Registers the five routes, in the order above, on `core` (the
// process-wide core when none is given). Called once, at start-up.
void Registry(web::core::WebCore& core);
void Registry();

// The items with codfilial -1 while prices are equalised, else those of the
// branch in x-filial; narrowed by the download filter headers.
void GetItemFilial(web::core::WebRequest& req, web::core::WebResponse& res,
                   const web::core::WebNext& next);

// Upserts one item. While prices are equalised, the key value at the
// position of codfilial in x-key-fields becomes -1 (EqualisedKeyValues), so
// the shared item is written; a key list without a value at that position is
// refused with 400 and nothing is written. Otherwise the plain upload.
void PostItem(web::core::WebRequest& req, web::core::WebResponse& res,
              const web::core::WebNext& next);

// A key header split into its entries: at every ",", except inside a
// double-quoted stretch; double quotes are then dropped. Empty entries stay;
// an empty header gives no entry.
std::vector<std::string> SplitKeyList(std::string_view text);

// The key values for the shared item: `key_values` split (SplitKeyList), the
// entry at the position of the first `key_fields` entry that reads
// "codfilial" (case and surrounding blanks aside) replaced by "-1", every
// entry trimmed and all re-joined with ", ". nullopt when `key_fields` names
// codfilial at a position that `key_values` has no entry for.
std::optional<std::string> EqualisedKeyValues(std::string_view key_fields,
                                              std::string_view key_values);

}  // namespace quorvane::controller::produto_preco
