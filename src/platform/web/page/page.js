// The page around the game: the start screen, the canvas and its whole-number scaling, the
// keys and clicks handed to the program, fullscreen, the settings and clear file kept in the
// browser's storage, and the end of a game with its recording.
// The page's state is in document.body.dataset.state: loading, start, playing, ended, failed.
// For tests, window.sevenchips has the last game's recording (its text) and audioState(), the
// state of the page's audio ("running", "suspended", "closed", or "none"); with
// ?shots=start,260,end it keeps in shots[moment] the canvas's RGBA bytes at those moments (the
// replay tool's --shot moments).
"use strict";
(() => {
  const params = new URLSearchParams(location.search);
  const speed = Math.min(Math.max(Number(params.get("speed")) || 1, 0.1), 64);
  const tracing = params.get("trace") === "1";
  const watched = params.get("play");
  const shots = params.get("shots");

  // Input codes beside the game's key codes (see src/platform/web/page_bridge.hpp).
  const CLICK = 1, PAUSE = 1001, WINDOW_LEFT = 1002, MUTE_OFF = 1003, MUTE_ON = 1004;
  const GAME_KEYS = { ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Enter: 13, NumpadEnter: 13, Escape: 27 };

  const canvas = document.getElementById("screen");
  // Desynchronized: the canvas's pictures skip a step of the browser's compositing, which at
  // ten pictures a second costs the browser a quarter of its CPU in battle.
  const context = canvas.getContext("2d", { alpha: false, desynchronized: true });
  // The picture the canvas shows: the program's own pixels (a view of its memory, made anew
  // when the memory grows), so nothing is copied on the way.
  let picture = context.createImageData(800, 600);
  const $ = (id) => document.getElementById(id);
  const setState = (s) => { document.body.dataset.state = s; };

  // ---- storage: damaged or missing entries give the defaults ----
  const SETTINGS = "sevenchips.settings", CLEAR = "sevenchips.clear";
  function loadSettings() {
    const defaults = { muted: false, language: null };
    try {
      const kept = JSON.parse(localStorage.getItem(SETTINGS));
      if (kept && typeof kept === "object") {
        if (typeof kept.muted === "boolean") defaults.muted = kept.muted;
        if (typeof kept.language === "string") defaults.language = kept.language;
      }
    } catch (e) { /* damaged: the defaults */ }
    if (params.get("lang")) {
      // As on the command line: the latest choice, remembered.
      defaults.language = params.get("lang");
      store(SETTINGS, JSON.stringify(defaults));
    }
    return defaults;
  }
  function store(key, value) {
    try { localStorage.setItem(key, value); } catch (e) { console.warn("sevenchips: cannot keep " + key + " (" + e + ")"); }
  }
  function storedClearFile() {
    try { const v = localStorage.getItem(CLEAR); return typeof v === "string" ? v : null; } catch (e) { return null; }
  }
  const settings = loadSettings();

  // ---- the canvas: centred, scaled by a whole number of device pixels (or shrunk to fit a
  // window smaller than the picture) ----
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const keys = document.fullscreenElement ? 0 : $("keys").offsetHeight;
    const w = window.innerWidth * ratio, h = (window.innerHeight - keys) * ratio;
    const fits = Math.min(w / 800, h / 600);
    const scale = fits >= 1 ? Math.floor(fits) : Math.max(fits, 0.25);
    canvas.style.width = (800 * scale / ratio) + "px";
    canvas.style.height = (600 * scale / ratio) + "px";
  }
  window.addEventListener("resize", fit);
  document.addEventListener("fullscreenchange", fit);
  fit();
  function toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    else $("stage").requestFullscreen().catch(() => {});
  }
  $("fullscreen").addEventListener("click", () => { toggleFullscreen(); canvas.focus(); });

  // ---- the data: fetched while the start screen shows ----
  async function fetchBytes(url) {
    const r = await fetch(url);
    if (!r.ok) throw new Error(url + ": " + r.status + " " + r.statusText);
    return new Uint8Array(await r.arrayBuffer());
  }
  const data = (async () => {
    const manifest = await (await fetch("data.json")).json();
    const files = await Promise.all(manifest.files.map(async (name) => {
      try { return [name, await fetchBytes(name)]; } catch (e) { return [name, null]; }  // missing: silent
    }));
    const font = await fetchBytes(manifest.font);
    const script = watched ? await fetchBytes(watched) : null;
    return { files, font, script };
  })();

  // ---- one game: a fresh program each time, made ready before the player acts ----
  // The input for the program, and the wake-up of its sleep: input ends a sleep early.
  let queue = [], running = false, wakeUp = null;
  function push(code, x = 0, y = 0) {
    if (!running) return;
    queue.push({ code, x, y });
    if (wakeUp) Promise.resolve().then(wakeUp);  // after this handler, not inside it
  }

  // `holder.program` is the program the page object serves (set once it has loaded).
  function pageFor(holder) {
    const read = (name) => { try { return holder.program.FS.readFile(name); } catch (e) { return null; } };
    return {
      takeInput: () => queue.shift() || null,
      wait(ms, resume) {
        let done = false;
        const wake = () => {
          if (done) return;  // each sleep ends once
          done = true;
          if (wakeUp === wake) wakeUp = null;
          clearTimeout(timer);
          resume();
        };
        const timer = setTimeout(wake, ms);
        wakeUp = wake;
      },
      show(memory, at, x, y, w, h) {
        if (picture.data.buffer !== memory || picture.data.byteOffset !== at) {
          picture = new ImageData(new Uint8ClampedArray(memory, at, 800 * 600 * 4), 800, 600);
        }
        context.putImageData(picture, 0, 0, x, y, w, h);
      },
      muted: () => settings.muted,
      speed: () => speed,
      keepClearFile(path) {
        try { store(CLEAR, new TextDecoder().decode(holder.program.FS.readFile(path))); } catch (e) { console.warn("sevenchips: " + e); }
      },
      ended(recording) {
        running = false;
        const link = $("download");
        link.hidden = true;
        try {
          const text = holder.program.FS.readFile(recording, { encoding: "utf8" });
          if (link.href) URL.revokeObjectURL(link.href);
          link.href = URL.createObjectURL(new Blob([text], { type: "text/plain" }));
          link.hidden = false;
          window.sevenchips.recording = text;
        } catch (e) { /* nothing recorded */ }
        $("end").hidden = false;
        setState("ended");
        prepare();
      },
      keepPicture(when) { window.sevenchips.shots[when] = context.getImageData(0, 0, 800, 600).data; },
      // The sound: one context for the page, made in the player's first input.
      openSound(muted, musicGain, effectGain) {
        if (!window.AudioContext && !window.webkitAudioContext) return false;  // the program says so
        try {
          if (!sound) sound = new PageSound(muted, musicGain, effectGain);
          sound.setMuted(muted);
          sound.hold(false);
          return true;
        } catch (e) {
          console.warn("sevenchips: " + e);
          return false;
        }
      },
      setMuted: (muted) => sound.setMuted(muted),
      holdSound: (on) => sound.hold(on),
      openMusic: (name) => sound.openMusic(name, read),
      music(command) {
        if (command === 1) sound.playMusic();
        else if (command === 2) sound.stopMusic();
        else if (command === 3) sound.seekMusic();
        else sound.closeMusic();
      },
      musicPlaying: () => sound.musicPlaying(),
      playEffect: (name) => sound.playEffect(name, read),
      closeSound: () => sound && sound.close(),
      failed(why) { fail(new Error(why)); },
    };
  }

  function fail(error) {
    running = false;
    console.error("sevenchips:", error);
    $("why").textContent = String(error.message || error);
    $("start").hidden = true;
    $("end").hidden = true;
    $("failed").hidden = false;
    setState("failed");
  }

  // The next program, loaded with its files; `ready` once it can start at once.
  let next = null, ready = null;
  function prepare() {
    ready = null;
    next = (async () => {
      const { files, font, script } = await data;
      const holder = {};
      const program = holder.program = await SevenChips({
        page: pageFor(holder),
        print: (line) => console.log(line),
        printErr: (line) => console.warn(line),
      });
      const FS = program.FS;
      for (const dir of ["/game", "/game/bg", "/game/se", "/fonts", "/run"]) FS.mkdir(dir);
      for (const [name, bytes] of files) if (bytes) FS.writeFile("/game/" + name, bytes);
      FS.writeFile("/fonts/face.ttf", font);  // where the program looks for its face
      if (script) FS.writeFile("/run/watched.keys", script);
      ready = program;
      if (document.body.dataset.state === "loading") setState("start");
      return program;
    })();
    next.catch(fail);
  }

  let sound = null;
  window.sevenchips = {
    recording: null,
    shots: {},
    audioState: () => (sound ? sound.context.state : "none"),
  };
  // Runs in the player's own input handler when the program is ready, so the browser lets
  // its sound start.
  function run(program) {
    const clear = storedClearFile();
    if (clear !== null) program.FS.writeFile("/game/se/da.txt", clear);
    const args = ["--app-dir", "/game/", "--record", "/run/recording.keys"];
    if (settings.language) args.push("--lang", settings.language);
    if (watched) args.push("--play", "/run/watched.keys");
    if (tracing) args.push("--trace", "/dev/stdout");
    if (shots) args.push("--shots", shots);
    queue = [];
    $("end").hidden = true;
    $("start").hidden = true;
    setState("playing");
    running = true;
    canvas.focus();
    program.callMain(args);
  }

  // The first input only starts the game.
  let starting = false;
  function begin(e) {
    if (starting || running || document.body.dataset.state === "failed") return;
    if (e) e.preventDefault();
    starting = true;
    const go = (program) => { starting = false; run(program); };
    if (ready) go(ready); else next.then(go, fail);
  }
  $("start").addEventListener("click", begin);
  $("again").addEventListener("click", () => begin());
  prepare();

  window.addEventListener("keydown", (e) => {
    if (e.key === "F11") {
      e.preventDefault();
      if (!e.repeat) toggleFullscreen();
      return;
    }
    if (!running) {
      if (document.body.dataset.state !== "ended" && !e.repeat && !e.ctrlKey && !e.altKey && !e.metaKey) begin(e);
      return;
    }
    if (e.ctrlKey || e.altKey || e.metaKey) return;
    const code = GAME_KEYS[e.key] || GAME_KEYS[e.code];
    if (code) {
      e.preventDefault();
      push(code);  // held down, it repeats, as the game expects
    } else if ((e.key === "p" || e.key === "P" || e.key === "Pause") && !e.repeat) {
      push(PAUSE);
    } else if ((e.key === "m" || e.key === "M") && !e.repeat) {
      settings.muted = !settings.muted;
      store(SETTINGS, JSON.stringify(settings));
      push(settings.muted ? MUTE_ON : MUTE_OFF);
    }
  });
  canvas.addEventListener("mousedown", (e) => {
    if (e.button !== 0 || !running) return;
    const r = canvas.getBoundingClientRect();
    push(CLICK, Math.floor((e.clientX - r.left) * 800 / r.width), Math.floor((e.clientY - r.top) * 600 / r.height));
  });
  window.addEventListener("blur", () => push(WINDOW_LEFT));
  document.addEventListener("visibilitychange", () => { if (document.hidden) push(WINDOW_LEFT); });
})();
