// The image picker, the people picker over the address book, and the
// accelerometer, worked through the driver as a page would see them.
#include <thread>

#include "ControllerTestFixture.h"
#include "platform/ui/Keyboard.h"

using namespace platform::ui;
using uitest::Log;

namespace {

class PickerAndSensorTest : public uitest::ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        AddressBook::reset();
        Accelerometer::resetShared();
        page = make("Profile");
        show(page);
    }
    void TearDown() override
    {
        AddressBook::reset();
        Accelerometer::resetShared();
        ControllerTest::TearDown();
    }

    void present(const ViewControllerPtr& picker)
    {
        page->presentModalViewController(picker, true);
        driver.settle();
    }

    std::shared_ptr<uitest::LoggingController> page;
};

// 4x2: columns red, green, blue, white.
ImagePtr wideImage()
{
    const std::vector<uint8_t> row = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    std::vector<uint8_t> rgba = row;
    rgba.insert(rgba.end(), row.begin(), row.end());
    return Image::withPixels(4, 2, rgba);
}

class NewFormDelegate : public ImagePickerControllerDelegate {
public:
    void imagePickerControllerDidFinishPickingMediaWithInfo(ImagePickerController&,
                                                            const std::shared_ptr<platform::Dictionary>& i) override
    {
        info = i;
        log.push_back("picked");
    }
    void imagePickerControllerDidCancel(ImagePickerController&) override { log.push_back("cancelled"); }
    std::shared_ptr<platform::Dictionary> info;
    Log log;
};

class OldFormDelegate : public ImagePickerControllerDelegate {
public:
    void imagePickerControllerDidFinishPickingImage(ImagePickerController&, const ImagePtr& i,
                                                    const std::shared_ptr<platform::Dictionary>& e) override
    {
        image = i;
        editingInfo = e;
        ++calls;
    }
    ImagePtr image;
    std::shared_ptr<platform::Dictionary> editingInfo;
    int calls = 0;
};

TEST_F(PickerAndSensorTest, APickedImageArrivesInTheFormTheDelegateImplements)
{
    auto picker = ImagePickerController::make();
    auto modern = std::make_shared<NewFormDelegate>();
    picker->setDelegate(modern);
    picker->setAllowsImageEditing(true);
    const ImagePtr photo = wideImage();
    EXPECT_FALSE(driver.pickImage(photo)) << "not on screen yet";
    present(picker);

    ASSERT_TRUE(driver.pickImage(photo));
    ASSERT_TRUE(modern->info);
    const auto& info = *modern->info;
    EXPECT_EQ(info.stringForKey(ImagePickerControllerMediaType), kMediaTypeImage);
    EXPECT_EQ(info.get<Image>(ImagePickerControllerOriginalImage), photo);
    const auto edited = info.get<Image>(ImagePickerControllerEditedImage);
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->pixelWidth(), 2);
    EXPECT_EQ(edited->pixelAt(0, 1), photo->pixelAt(1, 1)) << "the middle square: green, blue";
    EXPECT_EQ(edited->pixelAt(1, 0), photo->pixelAt(2, 0));
    EXPECT_EQ(info.get<RectValue>(ImagePickerControllerCropRect)->value(), Rect(1, 0, 2, 2));

    // A delegate with only the older call gets the kept image and the editing info.
    auto old = std::make_shared<OldFormDelegate>();
    picker->setDelegate(old);
    ASSERT_TRUE(driver.pickImage(photo));
    EXPECT_EQ(old->image->pixelWidth(), 2);
    EXPECT_EQ(old->editingInfo->get<Image>(ImagePickerControllerOriginalImage), photo);
    picker->setAllowsEditing(false);
    ASSERT_TRUE(driver.pickImage(photo));
    EXPECT_EQ(old->image, photo);
    EXPECT_EQ(old->editingInfo, nullptr);
    EXPECT_EQ(old->calls, 2);
    EXPECT_EQ(modern->log, (Log{"picked"}));
}

TEST_F(PickerAndSensorTest, CancelTellsOnlyTheCancelAndTheCameraNeedsOne)
{
    auto picker = ImagePickerController::make();
    auto delegate = std::make_shared<NewFormDelegate>();
    picker->setDelegate(delegate);
    present(picker);
    EXPECT_TRUE(driver.cancelImagePicker());
    EXPECT_EQ(delegate->log, (Log{"cancelled"}));
    EXPECT_EQ(page->modalViewController(), picker) << "closing is the delegate's job";

    // Without a cancel of its own the picker takes itself away.
    auto old = std::make_shared<OldFormDelegate>();
    picker->setDelegate(old);
    EXPECT_TRUE(driver.cancelImagePicker());
    driver.settle();
    EXPECT_EQ(page->modalViewController(), nullptr);
    EXPECT_EQ(old->calls, 0);
    EXPECT_FALSE(driver.cancelImagePicker());

    EXPECT_FALSE(ImagePickerController::isSourceTypeAvailable(ImagePickerController::SourceType::Camera));
    picker->setSourceType(ImagePickerController::SourceType::Camera);
    EXPECT_EQ(picker->sourceType(), ImagePickerController::SourceType::PhotoLibrary);
    EXPECT_EQ(errors.size(), 1u);
    Device::current()->setHasCamera(true);
    picker->setSourceType(ImagePickerController::SourceType::Camera);
    EXPECT_EQ(picker->sourceType(), ImagePickerController::SourceType::Camera);
}

class ContactsHeader : public PeoplePickerNavigationControllerDelegate {
public:
    std::optional<bool> shouldContinueAfterSelectingPerson(PeoplePickerNavigationController&,
                                                           const PersonPtr& person) override
    {
        log.push_back("person " + std::to_string(person->recordId()));
        return true;
    }
    std::optional<bool> shouldContinueAfterSelectingPerson(PeoplePickerNavigationController&, const PersonPtr& person,
                                                           PersonProperty property, int identifier) override
    {
        auto values = person->multiValue(property);
        const size_t index = values->indexForIdentifier(identifier).value();
        log.push_back(values->labelAtIndex(index) + " " + values->valueAtIndex(index));
        return false;
    }
    void peoplePickerNavigationControllerDidCancel(PeoplePickerNavigationController&) override
    {
        log.push_back("cancel");
    }
    Log log;
};

TEST_F(PickerAndSensorTest, APickedContactValueComesWithItsLabelAndIdentifier)
{
    auto ann = std::make_shared<Person>("Ann", std::nullopt);
    ann->emails()->add("ann@work.example", "work");
    const int home = ann->emails()->add("ann@home.example", "home");
    const int mobile = ann->phones()->add("555-0100", "mobile");
    ann->setImageData(platform::Data::fromString("jpeg"));
    const int annId = AddressBook::addPerson(ann);
    AddressBook::addPerson(std::make_shared<Person>(std::nullopt, std::nullopt));
    EXPECT_EQ(AddressBook::addPerson(ann), annId) << "added once";
    EXPECT_EQ(AddressBook::people().size(), 2u);

    auto picker = PeoplePickerNavigationController::make();
    auto header = std::make_shared<ContactsHeader>();
    picker->setPeoplePickerDelegate(header);
    picker->setDisplayedProperties({PersonProperty::Email});
    present(picker);

    EXPECT_FALSE(driver.pickPersonValue(PersonProperty::Email, home)) << "no person chosen yet";
    EXPECT_FALSE(driver.pickPerson(99));
    EXPECT_TRUE(driver.pickPerson(annId));
    EXPECT_FALSE(driver.pickPersonValue(PersonProperty::Phone, mobile)) << "phones are not displayed";
    EXPECT_FALSE(driver.pickPersonValue(PersonProperty::Email, 7));
    EXPECT_TRUE(driver.pickPersonValue(PersonProperty::Email, home));
    EXPECT_TRUE(picker->performedActions().empty()) << "the delegate said no";
    EXPECT_TRUE(driver.cancelPeoplePicker());
    EXPECT_EQ(header->log, (Log{"person 1", "home ann@home.example", "cancel"}));

    // A delegate that does not answer lets the picker act on the value itself.
    picker->setPeoplePickerDelegate(std::make_shared<PeoplePickerNavigationControllerDelegate>());
    picker->setDisplayedProperties({});
    EXPECT_TRUE(driver.pickPersonValue(PersonProperty::Phone, mobile));
    ASSERT_EQ(picker->performedActions().size(), 1u);
    EXPECT_EQ(picker->performedActions()[0].identifier, mobile);
}

class ShakeWatcher : public AccelerometerDelegate {
public:
    void accelerometerDidAccelerate(Accelerometer&, const Acceleration& a) override { samples.push_back(a); }
    std::vector<Acceleration> samples;
};

TEST_F(PickerAndSensorTest, AccelerometerSamplesReachTheDelegateAtItsIntervalOnTheClock)
{
    auto accelerometer = Accelerometer::sharedAccelerometer();
    EXPECT_EQ(accelerometer, Accelerometer::sharedAccelerometer());
    auto watcher = std::make_shared<ShakeWatcher>();
    accelerometer->setUpdateInterval(0.1);
    accelerometer->setDelegate(watcher);
    const double start = clock.clock().now();

    accelerometer->feed(1.2, 0, 0);
    accelerometer->feed(-1.3, 0, 0);
    driver.wait(0.25);
    ASSERT_EQ(watcher->samples.size(), 2u);
    EXPECT_EQ(watcher->samples[0].x, 1.2);
    EXPECT_NEAR(watcher->samples[0].timestamp - start, 0.1, 1e-6);
    EXPECT_NEAR(watcher->samples[1].timestamp - start, 0.2, 1e-6);
    driver.feedAcceleration({{0.5, 0.5, 0}});
    driver.wait(0.1);
    ASSERT_EQ(watcher->samples.size(), 4u);
    EXPECT_EQ(watcher->samples[2].y, 0.5);
    EXPECT_EQ(watcher->samples[3].z, -1) << "lying still again";

    // A slower pace, then no delegate: nothing more arrives.
    accelerometer->setUpdateInterval(0.5);
    driver.wait(0.45);
    EXPECT_EQ(watcher->samples.size(), 4u);
    driver.wait(0.05);
    EXPECT_EQ(watcher->samples.size(), 5u);
    watcher.reset();
    driver.wait(2);
    EXPECT_EQ(accelerometer->delegate(), nullptr);
}

TEST_F(PickerAndSensorTest, PickersAndSensorsUsedOffTheMainThreadAreReported)
{
#ifdef NDEBUG
    GTEST_SKIP() << "thread checks are compiled out of release builds";
#endif
    std::thread other([] {
        Accelerometer::sharedAccelerometer()->feed(1, 0, 0);
        AddressBook::people();
        MapView::make()->setRegion({{1, 1}, {1, 1}}, false);
    });
    other.join();
    // The shared accelerometer, feeding it, the address book and the map
    // (made, clipped, laid out and destroyed there as a view, too).
    const std::vector<std::string> expected = {
        "sharedAccelerometer",     "feed",      "AddressBook::people", "View::View", "View::setClipsToBounds",
        "Layer::setMasksToBounds", "setRegion", "setNeedsLayout",      "View::~View"};
    ASSERT_EQ(errors.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NE(errors[i].find(expected[i]), std::string::npos) << errors[i];
}

}  // namespace
