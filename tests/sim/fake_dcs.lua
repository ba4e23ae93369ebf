-- Stands in for DCS World around the export script: the Lo* functions return what the test set in `fake`,
-- and the test drives the export hooks with one command per line on standard input:
--   lua <code>        run a line of Lua (define earlier hooks, set fake values, set VarnoltExportSettings)
--   load <file>       dofile the export script
--   start             LuaExportStart()
--   tick <t>          LuaExportActivityNextEvent(t); prints "next <value>"
--   stop              LuaExportStop()
-- Every command is answered with a line "ok" (or "error <message>") once it has run.
fake = { self = nil, ias = nil, alt = nil, vs = nil, engine = nil }

lfs = { writedir = function() return "./" end }
function LoGetSelfData() return fake.self end
function LoGetIndicatedAirSpeed() return fake.ias end
function LoGetAltitudeAboveSeaLevel() return fake.alt end
function LoGetVerticalVelocity() return fake.vs end
function LoGetEngineInfo() return fake.engine end
function LoGetModelTime() return fake.time or 0 end

io.stdout:setvbuf("line")
for line in io.lines() do
    local command, rest = line:match("^(%S+)%s?(.*)$")
    local ok, err = true, nil
    if command == "lua" then
        local chunk, message = loadstring(rest)
        if chunk then ok, err = pcall(chunk) else ok, err = false, message end
    elseif command == "load" then
        ok, err = pcall(dofile, rest)
    elseif command == "start" then
        ok, err = pcall(LuaExportStart)
    elseif command == "tick" then
        fake.time = tonumber(rest)
        local result
        ok, result = pcall(LuaExportActivityNextEvent, fake.time)
        if ok then io.stdout:write("next " .. tostring(result) .. "\n") else err = result end
    elseif command == "stop" then
        ok, err = pcall(LuaExportStop)
    elseif command then
        ok, err = false, "unknown command " .. command
    end
    if ok then
        io.stdout:write("ok\n")
    else
        io.stdout:write("error " .. tostring(err):gsub("\n", " ") .. "\n")
    end
end
