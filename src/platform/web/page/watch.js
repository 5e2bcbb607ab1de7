// Watching a recorded run: the bar under the picture (pause and go on, x1 x2 x4 x8, a seek bar
// over the run's battle ticks, one tick forward while paused, play on from here, leave) and the
// keys that do the same (Space or P, Left and Right ten seconds back or on, 1-4, Escape). The
// program does what they ask (a seek replays the run from its start up to there); the bar
// shows where it stands as the program tells it.
"use strict";
(() => {
  const page = () => window.SevenChipsPage;  // page.js, loaded after this file
  const SEEK = 1101, SPEED = 1102, STEP = 1103, TAKE_OVER = 1104, PAUSE = 1001, ESCAPE = 27;
  const SPEEDS = [1, 2, 4, 8];
  const TEN_SECONDS = 100;  // battle ticks
  const $ = (id) => document.getElementById(id);
  const bar = $("watch"), seek = $("watch-seek"), time = $("watch-time");
  // The run's length in battle ticks and in game time, and where it stands.
  let length = 0, lengthMs = 0, tick = 0, ms = 0, dragging = false, speed = 1;

  const clock = (ms) => {
    const s = Math.floor(ms / 1000);
    return Math.floor(s / 60) + ":" + String(s % 60).padStart(2, "0");
  };
  function show() {
    if (!dragging) seek.value = String(tick);
    // A tick not yet reached: its time as the run's ticks spread over its game time.
    const at = dragging ? Number(seek.value) * (lengthMs / Math.max(length, 1)) : ms;
    time.textContent = clock(at) + " / " + clock(lengthMs);
    $("watch-pause").setAttribute("aria-pressed", String(page().paused));
    $("watch-step").disabled = !page().paused;
    for (const b of bar.querySelectorAll("[data-speed]")) b.setAttribute("aria-pressed", String(Number(b.dataset.speed) === speed));
  }

  function goTo(t) {
    tick = Math.max(0, Math.min(length, Math.round(t)));
    page().push(SEEK, tick);
    show();
  }
  function setSpeed(s) {
    speed = s;
    page().push(SPEED, s);
    show();
  }
  function takeOver() {
    page().push(TAKE_OVER);
    page().watchingEnds();
  }
  const actions = {
    "watch-pause": () => page().push(PAUSE),
    "watch-step": () => page().push(STEP),
    "watch-take": takeOver,
    "watch-leave": () => page().push(ESCAPE),
  };
  for (const [id, act] of Object.entries(actions)) {
    $(id).addEventListener("click", (e) => { e.preventDefault(); act(); page().focusGame(); });
  }
  for (const b of bar.querySelectorAll("[data-speed]")) {
    b.addEventListener("click", () => { setSpeed(Number(b.dataset.speed)); page().focusGame(); });
  }
  seek.addEventListener("input", () => { dragging = true; show(); });
  seek.addEventListener("change", () => { dragging = false; goTo(Number(seek.value)); page().focusGame(); });

  // The keys while watching; true when the key was the watcher's.
  function key(e) {
    if (e.key === " " || e.key === "p" || e.key === "P" || e.key === "Pause") {
      if (!e.repeat) page().push(PAUSE);
    } else if (e.key === "ArrowLeft" || e.key === "ArrowRight") {
      goTo(tick + (e.key === "ArrowLeft" ? -TEN_SECONDS : TEN_SECONDS));
    } else if (e.key >= "1" && e.key <= "4") {
      if (!e.repeat) setSpeed(SPEEDS[Number(e.key) - 1]);
    } else if (e.key === "Escape") {
      page().push(ESCAPE);
    } else {
      return false;
    }
    e.preventDefault();
    return true;
  }

  window.SevenChipsWatch = {
    // `run` ({ticks, ms}: its battle ticks and game time) is watched from now on.
    begin(run) {
      length = run.ticks;
      lengthMs = run.ms;
      tick = ms = 0;
      speed = 1;
      seek.max = String(length);
      bar.hidden = false;
      show();
    },
    end() { bar.hidden = true; },
    progress(t, gameMs) {
      tick = t;
      ms = gameMs;
      show();
    },
    paused: show,
    key,
    seekTo: goTo,
  };
})();
