-- The head office's call tables: every site's call log, the sites' claims on their names, and
-- summaries kept by the insert trigger (per day and hour, per day, per day and number, per
-- month and number) so that figures over days need no scan of the calls. Safe to run again:
-- it only adds what is missing, and rebuilds summaries of an older layout from the calls.

CREATE TABLE IF NOT EXISTS cid_sites (
    site text PRIMARY KEY,
    installation_id text NOT NULL,
    claimed_at timestamptz NOT NULL DEFAULT now()
);

-- Whole minutes of a call, halves to the even neighbour (30 s give 0, 90 s give 2); the
-- remainder is taken from below so that a negative duration rounds as the store's report does.
CREATE OR REPLACE FUNCTION cid_minutes(duration_s integer) RETURNS integer
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT ((duration_s::bigint - (duration_s::bigint % 60 + 60) % 60) / 60 +
        CASE WHEN (duration_s::bigint % 60 + 60) % 60 > 30
                  OR ((duration_s::bigint % 60 + 60) % 60 = 30
                      AND (duration_s::bigint - 30) / 60 % 2 <> 0)
             THEN 1 ELSE 0 END)::integer
$$;

-- One row per record of a site's call log. A record carries no id of its own: it is known by
-- its 129 bytes and its place among identical records (two calls on one line in one minute),
-- so a record sent twice is stored once.
CREATE TABLE IF NOT EXISTS cid_calls (
    site text NOT NULL REFERENCES cid_sites (site),
    call_day date,
    call_time time,
    number text NOT NULL,
    name text NOT NULL,
    extra_digits text NOT NULL,
    duration_s integer NOT NULL,
    line smallint NOT NULL,
    rings smallint NOT NULL,
    direction char(1) NOT NULL,
    start_only boolean NOT NULL,
    caller_id_error boolean NOT NULL,
    minutes integer GENERATED ALWAYS AS (cid_minutes(duration_s)) STORED,
    log_record bytea NOT NULL,
    occurrence integer NOT NULL,
    received_at timestamptz NOT NULL DEFAULT now(),
    CONSTRAINT cid_calls_identity UNIQUE (site, log_record, occurrence)
);

CREATE INDEX IF NOT EXISTS cid_calls_site_time ON cid_calls (site, call_day, call_time);
CREATE INDEX IF NOT EXISTS cid_calls_time ON cid_calls (call_day, call_time);

-- A summary table of an older layout is rebuilt from the calls below; the views over it go
-- with it and are made again.
DO $$
BEGIN
    IF to_regclass('cid_day_hours') IS NOT NULL AND NOT EXISTS (
            SELECT 1 FROM pg_attribute
            WHERE attrelid = to_regclass('cid_day_hours') AND attname = 'weekday') THEN
        DROP TABLE cid_day_hours CASCADE;
    END IF;
END
$$;

-- Per site and day: every record, and the figures of the statistics report: inbound calls
-- (start-of-call records included), outbound calls, minutes and rings of completed calls only,
-- caller-ID errors, and inbound completed calls with their short ones (at most 10 seconds).
-- Highs and lows are NULL where no call counts towards them. weekday (0 Sunday) is kept so
-- that a report's weekdays are a condition the planner can estimate.
CREATE TABLE IF NOT EXISTS cid_days (
    site text NOT NULL,
    call_day date NOT NULL,
    weekday smallint NOT NULL,
    records integer NOT NULL,
    inbound integer NOT NULL,
    outbound integer NOT NULL,
    completed integer NOT NULL,
    minutes bigint NOT NULL,
    minutes_high integer,
    minutes_low integer,
    errors integer NOT NULL,
    inbound_timed integer NOT NULL,
    inbound_short integer NOT NULL,
    rings bigint NOT NULL,
    rings_high smallint,
    rings_low smallint,
    PRIMARY KEY (site, call_day)
);

-- The same figures per site, day and hour.
CREATE TABLE IF NOT EXISTS cid_day_hours (
    LIKE cid_days,
    hour smallint NOT NULL,
    PRIMARY KEY (site, call_day, hour)
);

-- Per site and day, the calls of each number the statistics report may name as the most
-- frequent: inbound calls of a number with a digit, completed outbound calls; with the day's
-- first call of it, which decides among equals.
CREATE TABLE IF NOT EXISTS cid_day_numbers (
    site text NOT NULL,
    call_day date NOT NULL,
    weekday smallint NOT NULL,
    kind char(1) NOT NULL,
    number text NOT NULL,
    calls integer NOT NULL,
    first_time time NOT NULL,
    PRIMARY KEY (site, call_day, kind, number)
);

-- The same per month, every site's calls together: the chain's most frequent number over whole
-- months is grouped from one row per number and month, not one per site, number and day.
-- first_call is the month's first call of the number, which decides among equals.
CREATE TABLE IF NOT EXISTS cid_month_numbers (
    month date NOT NULL,
    kind char(1) NOT NULL,
    number text NOT NULL,
    calls integer NOT NULL,
    first_call timestamp NOT NULL,
    PRIMARY KEY (month, kind, number)
);

-- The statement that adds per-day number rows (the columns of cid_day_numbers) to the month
-- summary: the fold's new ones below, or the day summary's own when the month summary is new
-- beside it. Sites send at the same time and share these rows: taken in key order, two sends
-- wait for each other but never deadlock.
CREATE OR REPLACE FUNCTION cid_month_fold_statement(source text) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
SELECT format($f$
INSERT INTO cid_month_numbers AS t (month, kind, number, calls, first_call)
SELECT date_trunc('month', call_day::timestamp)::date, kind, number, sum(calls),
       min(call_day + first_time)
FROM %1$s
GROUP BY 1, 2, 3
ORDER BY 1, 2, 3
ON CONFLICT (month, kind, number) DO UPDATE SET
    calls = t.calls + excluded.calls,
    first_call = least(t.first_call, excluded.first_call)
$f$, source)
$$;

-- The statement that adds the calls of a relation to the summaries: the insert trigger's new
-- rows, or every call when the summaries are rebuilt. The figures of an hour are counted from
-- the calls; a day's are rolled up from its hours, and both are merged into what is stored as
-- each figure's kind says (a sum, the highest, the lowest). The per-day number rows go on into
-- the month summary.
CREATE OR REPLACE FUNCTION cid_fold_statement(source text) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
WITH figure (pos, col, how) AS (
    VALUES (1, 'records', '+'), (2, 'inbound', '+'), (3, 'outbound', '+'), (4, 'completed', '+'),
           (5, 'minutes', '+'), (6, 'minutes_high', 'greatest'), (7, 'minutes_low', 'least'),
           (8, 'errors', '+'), (9, 'inbound_timed', '+'), (10, 'inbound_short', '+'),
           (11, 'rings', '+'), (12, 'rings_high', 'greatest'), (13, 'rings_low', 'least')),
lists AS (
    SELECT string_agg(col, ', ' ORDER BY pos) AS cols,
           string_agg(CASE how WHEN '+' THEN 'sum' WHEN 'greatest' THEN 'max' ELSE 'min' END ||
                      '(' || col || ')', ', ' ORDER BY pos) AS rollup,
           string_agg(CASE how WHEN '+' THEN format('%1$s = t.%1$s + excluded.%1$s', col)
                      ELSE format('%1$s = %2$s(t.%1$s, excluded.%1$s)', col, how) END,
                      ', ' ORDER BY pos) AS merge
    FROM figure)
SELECT format($f$
WITH c AS (
    SELECT site, call_day, extract(dow FROM call_day)::smallint AS weekday,
           extract(hour FROM call_time)::smallint AS hour, call_time, number, direction,
           start_only, caller_id_error, rings, duration_s, cid_minutes(duration_s) AS m,
           direction = 'I' AND NOT start_only AS answered
    FROM %1$s
    WHERE call_day IS NOT NULL AND call_time IS NOT NULL),
h AS (
    SELECT site, call_day, hour, weekday,
           count(*) AS records,
           count(*) FILTER (WHERE direction = 'I') AS inbound,
           count(*) FILTER (WHERE direction = 'O' AND NOT start_only) AS outbound,
           count(*) FILTER (WHERE NOT start_only) AS completed,
           coalesce(sum(m) FILTER (WHERE NOT start_only), 0) AS minutes,
           max(m) FILTER (WHERE NOT start_only) AS minutes_high,
           min(m) FILTER (WHERE NOT start_only) AS minutes_low,
           count(*) FILTER (WHERE caller_id_error) AS errors,
           count(*) FILTER (WHERE answered) AS inbound_timed,
           count(*) FILTER (WHERE answered AND duration_s <= 10) AS inbound_short,
           coalesce(sum(rings) FILTER (WHERE answered), 0) AS rings,
           max(rings) FILTER (WHERE answered) AS rings_high,
           min(rings) FILTER (WHERE answered) AS rings_low
    FROM c
    GROUP BY site, call_day, hour, weekday),
hours AS (
    INSERT INTO cid_day_hours AS t (site, call_day, hour, weekday, %2$s)
    SELECT site, call_day, hour, weekday, %2$s FROM h
    ON CONFLICT (site, call_day, hour) DO UPDATE SET %4$s),
days AS (
    INSERT INTO cid_days AS t (site, call_day, weekday, %2$s)
    SELECT site, call_day, weekday, %3$s FROM h GROUP BY site, call_day, weekday
    ON CONFLICT (site, call_day) DO UPDATE SET %4$s),
n AS (
    SELECT site, call_day, weekday, direction AS kind, number, count(*) AS calls,
           min(call_time) AS first_time
    FROM c
    WHERE (direction = 'I' AND number ~ '[0-9]') OR (direction = 'O' AND NOT start_only)
    GROUP BY site, call_day, weekday, direction, number),
day_numbers AS (
    INSERT INTO cid_day_numbers AS t (site, call_day, weekday, kind, number, calls, first_time)
    SELECT site, call_day, weekday, kind, number, calls, first_time FROM n
    ON CONFLICT (site, call_day, kind, number) DO UPDATE SET
        calls = t.calls + excluded.calls,
        first_time = least(t.first_time, excluded.first_time))
%5$s
$f$, source, cols, rollup, merge, cid_month_fold_statement('n'))
FROM lists
$$;

CREATE OR REPLACE FUNCTION cid_add_day_hours() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    EXECUTE cid_fold_statement('added');
    RETURN NULL;
END
$$;

-- A statement trigger sees only the rows the insert stored, not those it skipped as held.
CREATE OR REPLACE TRIGGER cid_calls_day_hours
    AFTER INSERT ON cid_calls REFERENCING NEW TABLE AS added
    FOR EACH STATEMENT EXECUTE FUNCTION cid_add_day_hours();

-- Day summaries made just now (first run, or rebuilt above) take the calls already stored, and
-- the month summary is made again with them; a month summary made beside day summaries kept
-- before it is rolled up from them.
DO $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM cid_day_hours) AND NOT EXISTS (SELECT 1 FROM cid_days)
       AND NOT EXISTS (SELECT 1 FROM cid_day_numbers) THEN
        DELETE FROM cid_month_numbers;
        EXECUTE cid_fold_statement('cid_calls');
    ELSIF NOT EXISTS (SELECT 1 FROM cid_month_numbers) THEN
        EXECUTE cid_month_fold_statement('cid_day_numbers');
    END IF;
END
$$;

CREATE OR REPLACE VIEW cid_daily AS
    SELECT site, call_day, inbound::bigint AS inbound, outbound::bigint AS outbound,
           minutes, errors::bigint AS errors
    FROM cid_days;

-- days: the dates of that weekday with a call in that hour, which the hour's figures are
-- averaged over.
CREATE OR REPLACE VIEW cid_hourly AS
    SELECT site, weekday::integer + 1 AS weekday, hour::integer AS hour,
           sum(inbound)::bigint AS inbound, sum(outbound)::bigint AS outbound,
           sum(minutes)::bigint AS minutes, count(*) AS days
    FROM cid_day_hours
    GROUP BY 1, 2, 3;
