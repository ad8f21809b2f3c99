-- Control schema of the server: one row per tenant in `_schemas`.
-- Runs inside the control schema (scripts/load-db.sh creates `_stru` and
-- selects it); no schema name is written here, so tests can load the same
-- table into a scratch schema. Safe to run again: nothing is dropped.
--
-- The switches are integers and count as on only when they equal 1.

CREATE TABLE IF NOT EXISTS _schemas (
  -- The tenant's schema name, exactly as branch systems send it in x-schema.
  name_schema VARCHAR(64) NOT NULL,
  -- 0 normal operation, 1 maintenance scheduled, -1 waiting for the initial
  -- data load. Both non-zero states make the server answer 503.
  manutencao INT NOT NULL DEFAULT 0,
  -- 1: product downloads also carry the 23 taxation columns.
  sincronizar_tributacao INT NULL DEFAULT 0,
  -- 1: customer, product, card, agreement and user downloads carry `inativo`.
  sincronizar_inativo INT NULL DEFAULT 0,
  -- 1: every branch shares the price items stored under branch -1.
  igualar_precos INT NULL DEFAULT 0,
  PRIMARY KEY (name_schema)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
