-- The head office's call tables: every site's call log, the sites' claims on their names, and
-- per-day per-hour totals kept by the insert trigger so daily and hourly figures need no scan
-- of the calls. Safe to run again: it only adds what is missing.

CREATE TABLE IF NOT EXISTS cid_sites (
    site text PRIMARY KEY,
    installation_id text NOT NULL,
    claimed_at timestamptz NOT NULL DEFAULT now()
);

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
    -- Whole minutes of the call, halves to the even neighbour (30 s give 0, 90 s give 2).
    minutes integer GENERATED ALWAYS AS (
        duration_s / 60 + CASE WHEN duration_s % 60 > 30
                                 OR (duration_s % 60 = 30 AND duration_s / 60 % 2 = 1)
                               THEN 1 ELSE 0 END) STORED,
    log_record bytea NOT NULL,
    occurrence integer NOT NULL,
    received_at timestamptz NOT NULL DEFAULT now(),
    CONSTRAINT cid_calls_identity UNIQUE (site, log_record, occurrence)
);

CREATE INDEX IF NOT EXISTS cid_calls_site_time ON cid_calls (site, call_day, call_time);
CREATE INDEX IF NOT EXISTS cid_calls_time ON cid_calls (call_day, call_time);

-- Per site, day and hour: every record, and the figures of the statistics report: inbound
-- calls (start-of-call records included), outbound calls and minutes of completed calls only,
-- caller-ID errors, and inbound completed calls with their short ones (at most 10 seconds).
CREATE TABLE IF NOT EXISTS cid_day_hours (
    site text NOT NULL,
    call_day date NOT NULL,
    hour smallint NOT NULL,
    records integer NOT NULL,
    inbound integer NOT NULL,
    outbound integer NOT NULL,
    minutes bigint NOT NULL,
    errors integer NOT NULL,
    inbound_timed integer NOT NULL,
    inbound_short integer NOT NULL,
    PRIMARY KEY (site, call_day, hour)
);

CREATE OR REPLACE FUNCTION cid_add_day_hours() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    INSERT INTO cid_day_hours AS t
        (site, call_day, hour, records, inbound, outbound, minutes, errors, inbound_timed,
         inbound_short)
    SELECT site, call_day, extract(hour FROM call_time)::smallint,
           count(*),
           count(*) FILTER (WHERE direction = 'I'),
           count(*) FILTER (WHERE direction = 'O' AND NOT start_only),
           coalesce(sum(minutes) FILTER (WHERE NOT start_only), 0),
           count(*) FILTER (WHERE caller_id_error),
           count(*) FILTER (WHERE direction = 'I' AND NOT start_only),
           count(*) FILTER (WHERE direction = 'I' AND NOT start_only AND duration_s <= 10)
    FROM added
    WHERE call_day IS NOT NULL AND call_time IS NOT NULL
    GROUP BY 1, 2, 3
    ON CONFLICT (site, call_day, hour) DO UPDATE SET
        records = t.records + excluded.records,
        inbound = t.inbound + excluded.inbound,
        outbound = t.outbound + excluded.outbound,
        minutes = t.minutes + excluded.minutes,
        errors = t.errors + excluded.errors,
        inbound_timed = t.inbound_timed + excluded.inbound_timed,
        inbound_short = t.inbound_short + excluded.inbound_short;
    RETURN NULL;
END
$$;

-- A statement trigger sees only the rows the insert stored, not those it skipped as held.
CREATE OR REPLACE TRIGGER cid_calls_day_hours
    AFTER INSERT ON cid_calls REFERENCING NEW TABLE AS added
    FOR EACH STATEMENT EXECUTE FUNCTION cid_add_day_hours();

CREATE OR REPLACE VIEW cid_daily AS
    SELECT site, call_day, sum(inbound)::bigint AS inbound, sum(outbound)::bigint AS outbound,
           sum(minutes)::bigint AS minutes, sum(errors)::bigint AS errors
    FROM cid_day_hours
    GROUP BY site, call_day;

-- days: the dates of that weekday with a call in that hour, which the hour's figures are
-- averaged over.
CREATE OR REPLACE VIEW cid_hourly AS
    SELECT site, extract(dow FROM call_day)::integer + 1 AS weekday, hour::integer AS hour,
           sum(inbound)::bigint AS inbound, sum(outbound)::bigint AS outbound,
           sum(minutes)::bigint AS minutes, count(*) AS days
    FROM cid_day_hours
    GROUP BY 1, 2, 3;
