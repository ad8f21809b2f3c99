-- wrk script for the load scripts: counts the answers by status and keeps the
-- first body of each status other than 200.
local threads = {}
function setup(thread) table.insert(threads, thread) end
function init(args) codes = {}; samples = {} end
function response(status, headers, body)
  codes[status] = (codes[status] or 0) + 1
  if status ~= 200 and samples[status] == nil then samples[status] = string.sub(body, 1, 120) end
end
function done(summary, latency, requests)
  local total, sample = {}, {}
  for _, t in ipairs(threads) do
    for k, v in pairs(t:get("codes")) do total[k] = (total[k] or 0) + v end
    for k, v in pairs(t:get("samples")) do sample[k] = v end
  end
  for k, v in pairs(total) do
    io.write("status ", k, ": ", v, sample[k] and ("  e.g. " .. sample[k]) or "", "\n")
  end
end
