#pragma once

// How the drawing code sets line widths and point sizes, and the few
// colours that depend on where the picture goes. On screen it is plain
// OpenGL state. An export puts a style of its own in force while it
// records (Scope): a recorder in feedback mode does not see OpenGL's
// widths and needs to be told them (the hooks), a picture rendered larger
// than the view needs proportionally wider lines (widthScale), and white
// paper needs a darker polygon than the grey view (printColours). The
// recorders themselves stay out of the core: the export supplies the hooks.
class DrawStyle
{
public:
    // Told a width or size, in device pixels after widthScale, every time
    // the drawing sets one.
    using Hook = void (*)(float);

    float widthScale = 1.0f;       // multiplies every line width and point size
    Hook lineWidthHook = nullptr;  // null: OpenGL alone is told
    Hook pointSizeHook = nullptr;
    // The polygon and the curves' dots dark, for a white background.
    bool printColours = false;
    // A page rather than a frame: a curve's ghost only while a point is
    // dragged (otherwise it lies exactly under the curve), and a closed
    // curve without its zero-length segments.
    bool printPage = false;

    // The style in force: the screen's (all defaults) unless a Scope lives.
    static const DrawStyle &current();
    // True while no Scope lives: what is drawn goes to the screen.
    static bool onScreen();
    // Sets OpenGL's line width (pixels x widthScale) and tells the hook.
    static void lineWidth(float pixels);
    // The same for the point size.
    static void pointSize(float pixels);

    // Puts a style in force for the scope's lifetime; the style must
    // outlive the scope. Scopes nest: the end of one brings back the style
    // before it.
    class Scope
    {
    public:
        explicit Scope(const DrawStyle &style);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        const DrawStyle *previous;
    };

private:
    static const DrawStyle *active;
};
