-- Varnolt export script for DCS World.
--
-- Tells Varnolt which aircraft is flown, so it switches to the matching panel, and streams a few flight
-- values to the panel's gauges. Copy this file to Saved Games\DCS\Scripts\ and add this line at the end of
-- Saved Games\DCS\Scripts\Export.lua (create the file if it does not exist):
--
--   dofile(lfs.writedir()..[[Scripts\VarnoltExport.lua]])
--
-- The script keeps every export hook that was defined before it and calls it first, so it can be combined
-- with other export scripts in any order.

-- Settings. The defaults are Varnolt's own (Configuration > Network Config). Instead of editing them here
-- you can set any of them in Export.lua before the dofile line, e.g.
--   VarnoltExportSettings = { unicast = { "192.168.1.20" } }
local Settings = {
    -- Multicast group the panel listens on (MulticastGroup). "" sends nothing to a group.
    group = "224.11.5.62",
    -- Varnolt's control port (ListenPort): which aircraft is flown, start and stop.
    listenPort = 48000,
    -- Port the gauges receive flight data on from the group (FlightSimPort).
    simPort = 45000,
    -- Addresses to send to directly as well, for networks that do not carry multicast, e.g. { "127.0.0.1" }
    -- when Varnolt runs on this PC, or { "192.168.1.20" } for a second PC.
    unicast = {},
    -- Varnolt's relay port (RelayPort): flight data sent to the unicast addresses goes here, and Varnolt
    -- hands a copy to every gauge of the running panel. Sent to simPort, it would reach only one gauge.
    relayPort = 45001,
    -- The current aircraft is sent again this often (seconds), so a Varnolt started late still catches up.
    resendSeconds = 5,
    -- Flight data datagrams per second; 0 sends no flight data.
    dataRate = 10,
    -- How many routers multicast may cross: 1 reaches the local network, 0 stays on this PC.
    ttl = 1,
    -- Send PNL:Start with the first aircraft of every mission, so the panel that the last mission's end
    -- stopped starts again.
    startWithMission = true,
}

do
    if type(VarnoltExportSettings) == "table" then
        for key, value in pairs(VarnoltExportSettings) do
            Settings[key] = value
        end
    end

    -- LuaSocket as DCS ships it; on other systems these entries match nothing and the installed one is used.
    package.path = package.path .. ";.\\LuaSocket\\?.lua"
    package.cpath = package.cpath .. ";.\\LuaSocket\\?.dll"
    local socket = require("socket")

    local errorsLogged = 0
    local function logError(message)
        if errorsLogged >= 20 then
            return -- an error on every frame would fill the log
        end
        errorsLogged = errorsLogged + 1
        local text = "VarnoltExport: " .. tostring(message)
        if log and log.write then
            pcall(log.write, "VARNOLT", log.ERROR, text)
        elseif io and io.stderr then
            io.stderr:write(text .. "\n")
        end
    end

    local udp -- one socket for the whole mission, closed at its end
    local function openSocket()
        if udp then
            return
        end
        -- udp4 where it exists: a socket of no family yet would refuse the options below.
        udp = assert((socket.udp4 or socket.udp)())
        udp:settimeout(0)
        local ok, err = udp:setoption("ip-multicast-ttl", Settings.ttl)
        if not ok then
            logError("multicast TTL " .. tostring(Settings.ttl) .. ": " .. tostring(err))
        end
        udp:setoption("broadcast", true) -- lets a unicast target be a broadcast address
    end

    -- unicastPort: where the unicast copies go, if not to port.
    local function send(text, port, unicastPort)
        openSocket()
        if Settings.group and Settings.group ~= "" then
            local ok, err = udp:sendto(text, Settings.group, port)
            if not ok then
                logError("sending to " .. Settings.group .. ": " .. tostring(err))
            end
        end
        for _, address in ipairs(Settings.unicast or {}) do
            local ok, err = udp:sendto(text, address, unicastPort or port)
            if not ok then
                logError("sending to " .. address .. ": " .. tostring(err))
            end
        end
    end

    -- Varnolt splits a datagram into records at "|" and a record into fields at ":"; a part that begins
    -- with a double quote runs to the closing quote, doubled quotes standing for one. Quote where the
    -- name would otherwise be split, and where it begins with a blank.
    local function quote(text)
        return '"' .. (text:gsub('"', '""')) .. '"'
    end
    local function aircraftRecord(name)
        local field = name
        if name:find('[|:"]') or name:find("^%s") then
            field = quote(name)
        elseif name == "Stop" or name == "Start" then
            field = " " .. name -- read as an aircraft of that name, not as the command; the blank is trimmed
        end
        local record = "PNL:" .. field
        if record:find("|", 1, true) then
            record = quote(record)
        end
        return record
    end

    -- Mission state.
    local lastName        -- aircraft last sent
    local firstOfMission  -- no aircraft sent yet in this mission
    local nextResend = 0
    local nextData = 0

    local function resetMission()
        lastName = nil
        firstOfMission = true
        nextResend = 0
        nextData = 0
    end
    resetMission()

    -- A DCS function that may be missing or fail on some aircraft gives nil.
    local function ask(fn, ...)
        if type(fn) ~= "function" then
            return nil
        end
        local ok, value = pcall(fn, ...)
        if ok then
            return value
        end
        return nil
    end

    local function number(v)
        if type(v) == "number" and v == v and v ~= math.huge and v ~= -math.huge then
            return v
        end
        return nil
    end

    local function engineRpm()
        local info = ask(LoGetEngineInfo)
        if type(info) ~= "table" then
            return nil
        end
        local rpm = info.RPM
        if type(rpm) == "table" then
            return number(rpm.left) or number(rpm[1])
        end
        return number(rpm)
    end

    local function flightData(self)
        local parts = {}
        local function add(key, value, format)
            if value then
                parts[#parts + 1] = key .. "=" .. string.format(format, value)
            end
        end
        local ias = number(ask(LoGetIndicatedAirSpeed))
        add("IAS", ias and ias * 1.943844, "%.1f") -- m/s to knots
        local alt = number(ask(LoGetAltitudeAboveSeaLevel))
        add("ALT", alt and alt * 3.28084, "%.0f") -- m to ft
        local vs = number(ask(LoGetVerticalVelocity))
        add("VS", vs and vs * 196.8504, "%.0f") -- m/s to ft/min
        add("RPM", engineRpm(), "%.1f")
        local heading = type(self) == "table" and number(self.Heading)
        add("HDG", heading and math.deg(heading) % 360, "%.1f")
        return table.concat(parts, ";")
    end

    local function onStart()
        resetMission()
        openSocket()
    end

    local function onStop()
        send("PNL:Stop", Settings.listenPort)
        resetMission()
        udp:close()
        udp = nil
    end

    -- Called at model time t; returns when we want to be called next.
    local function onActivity(t)
        local self = ask(LoGetSelfData)
        local name = type(self) == "table" and self.Name or nil
        -- No name before spawning, in spectator and in external views of other units: keep what was sent.
        if type(name) == "string" and name ~= "" and name ~= lastName then
            local text = aircraftRecord(name)
            if firstOfMission and Settings.startWithMission then
                text = text .. "|PNL:Start"
            end
            send(text, Settings.listenPort)
            lastName = name
            firstOfMission = false
            nextResend = t + Settings.resendSeconds
        elseif lastName and t >= nextResend then
            send(aircraftRecord(lastName), Settings.listenPort)
            nextResend = t + Settings.resendSeconds
        end

        local step = 0.5
        if Settings.dataRate and Settings.dataRate > 0 then
            step = 1 / Settings.dataRate
            if t >= nextData then
                local text = flightData(self)
                if text ~= "" then
                    send(text, Settings.simPort, Settings.relayPort)
                end
                nextData = t + step
            end
        end
        return t + step
    end

    -- Chaining: the hook found here is called first, then ours, each guarded so that one failing never
    -- stops the other.
    local function guarded(fn, ...)
        if type(fn) ~= "function" then
            return nil
        end
        local ok, result = pcall(fn, ...)
        if not ok then
            logError(result)
            return nil
        end
        return result
    end

    local previousStart = LuaExportStart
    LuaExportStart = function()
        guarded(previousStart)
        guarded(onStart)
    end

    local previousStop = LuaExportStop
    LuaExportStop = function()
        guarded(previousStop)
        guarded(onStop)
    end

    local previousActivity = LuaExportActivityNextEvent
    LuaExportActivityNextEvent = function(t)
        local theirs = number(guarded(previousActivity, t))
        local ours = number(guarded(onActivity, t))
        if theirs and ours then
            return math.min(theirs, ours)
        end
        return theirs or ours
    end
end
