#!/usr/bin/python3
"""The modern help site in a real Chromium.

   site_test.py QUORVEL_BINARY SOURCE_DIR

Builds the example projects' modern sites (and one with hostile comments),
then checks, in headless Chromium driven by Selenium: the pages at 1280 and
375 pixels, light and dark, against reviewed screenshots
(tests/browser/references; QUORVEL_UPDATE_REFERENCES=1 writes them anew);
axe-core on the start, unit, index and search pages; the search, by
keyboard, finding what it should and nothing it should not; comment text
that stays text; every link and anchor resolving. With QUORVEL_REAL_ALL (a
marked project of Free Pascal's sources, which scripts/test makes), the
search's answer time on its rows.
"""
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import urllib.parse

from PIL import Image, ImageChops
from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

BINARY, SOURCE = sys.argv[1], pathlib.Path(sys.argv[2])
REFERENCES = SOURCE / "tests/browser/references"
AXE = SOURCE / "tests/browser/node_modules/axe-core/axe.min.js"
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FALHOU:", message, flush=True)


def build_site(project, out, *extra):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    subprocess.run([BINARY, "--settings", str(out) + ".ini", "--html", "--site-style", "modern", "--output",
                    str(out), *extra, str(project)], check=True, env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return out


def browser():
    options = Options()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                     "--force-device-scale-factor=1", "--font-render-hinting=none", "--lang=pt-BR"):
        options.add_argument(argument)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def view(driver, width, scheme):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": 900, "deviceScaleFactor": 1, "mobile": width < 500})
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia",
                           {"features": [{"name": "prefers-color-scheme", "value": scheme}]})


def open_page(driver, path):
    driver.get(pathlib.Path(path).as_uri())


def compare_screenshot(driver, name):
    shot = Image.open(__import__("io").BytesIO(driver.get_screenshot_as_png())).convert("RGB")
    reference = REFERENCES / (name + ".png")
    if os.environ.get("QUORVEL_UPDATE_REFERENCES") == "1" or not reference.exists():
        REFERENCES.mkdir(parents=True, exist_ok=True)
        shot.save(reference)
        check(os.environ.get("QUORVEL_UPDATE_REFERENCES") == "1", f"{name}: no reviewed reference, one was written")
        return
    expected = Image.open(reference).convert("RGB")
    if expected.size != shot.size:
        check(False, f"{name}: size {shot.size} instead of {expected.size}")
        return
    difference = ImageChops.difference(expected, shot).convert("L").point(lambda v: 255 if v > 24 else 0)
    changed = difference.histogram()[255] / (shot.size[0] * shot.size[1])
    if changed > 0.005:
        shot.save(pathlib.Path(tempfile.gettempdir()) / (name + "-actual.png"))
    check(changed <= 0.005, f"{name}: {changed:.2%} of the pixels differ from the reference")


def axe_violations(driver):
    driver.execute_script(AXE.read_text())
    result = driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "axe.run(document, {resultTypes: ['violations']}).then(r => done(r.violations.map("
        "  v => v.id + ': ' + v.nodes.map(n => n.target.join(' ')).join(', '))));")
    return result


def links_resolve(site):
    ids = {}
    for page in site.glob("*.html"):
        ids[page.name] = set(re.findall(r'\sid="([^"]*)"', page.read_text(encoding="utf-8")))
    for page in site.glob("*.html"):
        for href in re.findall(r'\shref="([^"]*)"', page.read_text(encoding="utf-8")):
            href = href.replace("&amp;", "&")
            if re.match(r"^[a-z]+:", href):
                continue
            target, _, anchor = href.partition("#")
            target = target or page.name
            check(target in ids or (site / target).exists(), f"{page.name}: link to a missing {target}")
            if anchor and target in ids:
                check(urllib.parse.unquote(anchor) in ids[target], f"{page.name}: no anchor {href}")


def main():
    work = pathlib.Path(tempfile.mkdtemp(prefix="quorvel-browser-"))
    cadastro = build_site(SOURCE / "examples/Cadastro/Cadastro.dpr", work / "cadastro")
    biblioteca = build_site(SOURCE / "examples/Biblioteca/biblioteca.lpi", work / "biblioteca")
    hostile_unit = work / "UPerigo.pas"
    hostile_unit.write_text("//? Perigos\n//* <script>window.invadido = 1</script> e TList<Integer>\n"
                            "unit UPerigo;\ninterface\n//@ Veja Conversao.\nprocedure Conversao;\n"
                            "implementation\nend.\n", encoding="utf-8")
    hostile = build_site(hostile_unit, work / "perigo", "--site-title", "Perigo <b>x</b>")
    for site in (cadastro, biblioteca, hostile):
        links_resolve(site)
        # Valid HTML: HTML Tidy reports no error on any page.
        for page in sorted(site.glob("*.html")):
            tidy = subprocess.run(["tidy", "-q", "-e", "-utf8", str(page)], capture_output=True, text=True)
            errors = [line for line in tidy.stderr.splitlines() if "Error:" in line]
            check(tidy.returncode < 2 and not errors, f"tidy on {site.name}/{page.name}: {errors or tidy.returncode}")

    driver = browser()
    try:
        # The reviewed looks of the start and a unit page.
        for width in (1280, 375):
            for scheme in ("light", "dark"):
                view(driver, width, scheme)
                open_page(driver, cadastro / "index.html")
                compare_screenshot(driver, f"inicio-{width}-{scheme}")
                open_page(driver, cadastro / "UPrincipal.html")
                compare_screenshot(driver, f"unidade-{width}-{scheme}")
        # No accessibility violation, in either scheme.
        for scheme in ("light", "dark"):
            view(driver, 1280, scheme)
            for page in ("index.html", "UPrincipal.html", "indice.html", "busca.html?q=cliente"):
                driver.get((cadastro / page.split("?")[0]).as_uri() + ("?" + page.split("?")[1] if "?" in page else ""))
                violations = axe_violations(driver)
                check(not violations, f"axe on {page} ({scheme}): {violations}")

        # The search, by keyboard only.
        view(driver, 1280, "light")
        open_page(driver, cadastro / "index.html")
        driver.find_element(By.TAG_NAME, "body").send_keys("/")
        box = driver.switch_to.active_element
        check(box.get_attribute("id") == "busca", "'/' does not focus the search")
        box.send_keys("localiza")
        options = driver.find_elements(By.CSS_SELECTOR, "#busca-resultados [role=option]")
        names = [o.text for o in options]
        check(names and names[0].startswith("LocalizaCliente"), f"search 'localiza' found {names}")
        box.send_keys(Keys.ARROW_DOWN, Keys.ARROW_UP, Keys.ENTER)
        check(driver.current_url.endswith("UClientes.html#LocalizaCliente"), f"Enter went to {driver.current_url}")
        check(driver.execute_script("return document.getElementById(decodeURIComponent(location.hash.slice(1))) !== null"),
              "the search's deep link has no anchor")
        open_page(driver, cadastro / "index.html")
        box = driver.find_element(By.ID, "busca")
        box.send_keys("xyzzy")
        check(not driver.find_elements(By.CSS_SELECTOR, "#busca-resultados [role=option]"),
              "search 'xyzzy' found something")
        # Names before texts: CPFValido, then what mentions a CPF in its help.
        driver.get((cadastro / "busca.html").as_uri() + "?q=cpf")
        hits = [a.text for a in driver.find_elements(By.CSS_SELECTOR, "#resultados li a")]
        check(hits[:1] == ["CPFValido"] and "LocalizaCliente" in hits, f"busca.html?q=cpf listed {hits}")

        # Comment text stays text.
        open_page(driver, hostile / "UPerigo.html")
        check(driver.execute_script("return window.invadido === undefined"), "a comment's <script> ran")
        body = driver.find_element(By.TAG_NAME, "main").text
        check("<script>window.invadido = 1</script>" in body, "a comment's <script> is not shown as text")
        check("TList<Integer>" in body, "TList<Integer> is not shown as written")
        check("Perigo <b>x</b>" in driver.title or "Perigo <b>x</b>" in driver.find_element(By.TAG_NAME, "title").get_attribute("textContent"),
              "the title's markup is not text")

        # The search's answer time on the real-code corpus.
        corpus = os.environ.get("QUORVEL_REAL_ALL")
        if corpus:
            big = build_site(pathlib.Path(corpus), work / "real")
            open_page(driver, big / "index.html")
            rows = driver.execute_script("return window.QUORVEL_SEARCH.entries.length")
            times = driver.execute_script(
                "const t = []; for (const q of ['tstring', 'read', 'rotina da linha 4', 'zz_nada', 'e']) {"
                "  const s = performance.now(); window.quorvelSearch(q, 20); t.push(performance.now() - s); }"
                "return t;")
            print(f"search on {rows} rows: {', '.join(f'{t:.1f}' for t in times)} ms", flush=True)
            check(rows > 200000, f"the corpus has only {rows} rows")
            check(max(times) < 50, f"a search took {max(times):.1f} ms")
            pages = sum(p.stat().st_size for p in big.glob("*.html"))
            index = (big / "busca-indice.js").stat().st_size
            print(f"search index {index / 1e6:.1f} MB beside {pages / 1e6:.1f} MB of pages", flush=True)
        elif os.environ.get("QUORVEL_TEST_EVERYTHING") == "1":
            check(False, "QUORVEL_REAL_ALL is not set: scripts/test makes the corpus")
    finally:
        driver.quit()
    print("ok" if not failures else f"{len(failures)} falha(s)", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
